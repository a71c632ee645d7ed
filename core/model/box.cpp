#include "core/model/box.h"

#include "core/model/preview_obj.h"

#include <algorithm>

namespace kalvo {

std::optional<TBox> BoxOf(const TpreviewObj& model)
{
    if (!model.BoxSet)
        return std::nullopt;
    return TBox{model.MinX, model.MaxX, model.MinY, model.MaxY, model.MinZ, model.MaxZ};
}

void Unite(TBox& box, const TBox& other)
{
    box.MinX = std::min(box.MinX, other.MinX);
    box.MaxX = std::max(box.MaxX, other.MaxX);
    box.MinY = std::min(box.MinY, other.MinY);
    box.MaxY = std::max(box.MaxY, other.MaxY);
    box.MinZ = std::min(box.MinZ, other.MinZ);
    box.MaxZ = std::max(box.MaxZ, other.MaxZ);
}

} // namespace kalvo
