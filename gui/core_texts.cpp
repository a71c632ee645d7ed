#include "gui/core_texts.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <vector>

namespace kalvo {

namespace {

struct TShapeDef
{
    const char* Source;      // %1, %2, %3 stand for the parts the core joins in
    bool PartIsText = false; // %1 is another text of the core, to be translated as well
};

// The shapes of the core's Japanese texts.
const TShapeDef kShapes[] = {
    // Readers
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "DXF fileではありません")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "ファイル形式の認識ができません。")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "RayDreamStudio形式のファイルではありません")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "このファイルにはメッシュ形状がふくまれていません。")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "RDSファイル読み込み中...")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "%1:%2: 値を数値に変換できません: %3")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "%1読み込みを中止しました。"), true},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "ROKファイルが途中で終わっています。")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "ROKファイルの%1 行目が数値として読めません。")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "ROKファイルの%1 行目が座標として読めません。")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "ROKファイルの%1 行目の角の数が正しくありません。")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "ROKファイルのパレットの色数 (%1) が正しくありません。")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "ROKファイルのパレットが途中で終わっています。")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "ROKファイルの %1 個のレコードは存在しない点または線を"
                                          "指しているため、読み飛ばしました。")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText",
                       "ブロック「%1」が自分自身を挿入しています。読み込みをここで止めます。")},
    {QT_TRANSLATE_NOOP(
        "kalvo::CoreText",
        "ブロック「%1」の挿入の入れ子が %2 段を超えています。読み込みをここで止めます。")},
    {QT_TRANSLATE_NOOP(
        "kalvo::CoreText",
        "ブロック「%1」を展開すると面が 5000 万を超えます。読み込みをここで止めます。")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "面が 5000 万を超えます。読み込みをここで止めます。")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText",
                       "モデルの面が 5000 万を超えます。読み込みをここで止めます。")},
    // Export
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "オブジェクト%1には3つ以上の面を共有する\n"
                                          "稜線がふくまれているため、RDS形式で保存できません")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "オブジェクト%1には面を構成しない線があります。\n"
                                          "面を構成しない線を書き出しますか？")},
    // Settings
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "%1は数値ではありません")},
    // Fixed viewpoints
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "正面")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "左")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "右")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "上")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "下")},
    {QT_TRANSLATE_NOOP("kalvo::CoreText", "背面")},
};

struct TShape
{
    const char* Source;
    QRegularExpression Pattern; // the shape with each %n as a capture
    int Parts = 0;
    bool PartIsText = false;
};

const std::vector<TShape>& Shapes()
{
    static const std::vector<TShape> shapes = [] {
        std::vector<TShape> result;
        const QRegularExpression part(QStringLiteral("%([1-9])"));
        for (const TShapeDef& def : kShapes) {
            const QString shape = QString::fromUtf8(def.Source);
            QString pattern = QStringLiteral("^");
            int parts = 0;
            qsizetype at = 0;
            for (auto match = part.globalMatch(shape); match.hasNext();) {
                const QRegularExpressionMatch next = match.next();
                pattern += QRegularExpression::escape(shape.mid(at, next.capturedStart() - at));
                pattern += QStringLiteral("(.*?)");
                at = next.capturedEnd();
                ++parts;
            }
            pattern += QRegularExpression::escape(shape.mid(at)) + QStringLiteral("$");
            result.push_back(
                {def.Source,
                 QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption), parts,
                 def.PartIsText});
        }
        return result;
    }();
    return shapes;
}

} // namespace

QString CoreText(const QString& text)
{
    for (const TShape& shape : Shapes()) {
        const QRegularExpressionMatch match = shape.Pattern.match(text);
        if (!match.hasMatch())
            continue;
        QString translated = QCoreApplication::translate("kalvo::CoreText", shape.Source);
        if (shape.Parts == 0)
            return translated;
        // The parts go in all at once, so a part that itself holds "%2" is not taken for one.
        QStringList parts;
        for (int i = 1; i <= shape.Parts; ++i)
            parts << (shape.PartIsText ? CoreText(match.captured(i)) : match.captured(i));
        switch (shape.Parts) {
        case 1:
            return translated.arg(parts[0]);
        case 2:
            return translated.arg(parts[0], parts[1]);
        default:
            return translated.arg(parts[0], parts[1], parts[2]);
        }
    }
    return text;
}

QString CoreText(const std::string& utf8) { return CoreText(QString::fromStdString(utf8)); }

QString CoreText(const char* utf8) { return CoreText(QString::fromUtf8(utf8)); }

} // namespace kalvo
