#include "core/io/export_check.h"

#include "core/base/cp932.h"
#include "core/model/preview_obj.h"

namespace kalvo {

bool AcceptForExport(TpreviewObj& model, const TKeepLooseLines& keepLooseLines,
                     std::string& refusal)
{
    const std::string name = Cp932ToUtf8(model.Name);
    const int use = model.CountEdgeUse();
    if (use > 2) {
        refusal = "オブジェクト" + name +
                  "には3つ以上の面を共有する\n稜線がふくまれているため、RDS形式で保存できません";
        return false;
    }
    if (use < 0 && keepLooseLines &&
        keepLooseLines("オブジェクト" + name +
                       "には面を構成しない線があります。\n面を構成しない線を書き出しますか？"))
        model.SetEdgeUse(1);
    return true;
}

} // namespace kalvo
