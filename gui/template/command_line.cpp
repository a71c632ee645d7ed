#include "gui/template/command_line.h"

namespace kalvo {

bool SplitCommandLine(const QString& line, QStringList& words)
{
    words.clear();
    QString word;
    bool inWord = false; // a word has begun, even an empty quoted one
    enum { Plain, Single, Double } quote = Plain;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        switch (quote) {
        case Single:
            if (c == QLatin1Char('\''))
                quote = Plain;
            else
                word += c;
            break;
        case Double:
            if (c == QLatin1Char('"')) {
                quote = Plain;
            } else if (c == QLatin1Char('\\') && i + 1 < line.size() &&
                       QStringLiteral("\"\\$`").contains(line[i + 1])) {
                word += line[++i];
            } else {
                word += c;
            }
            break;
        case Plain:
            if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
                if (inWord)
                    words << word;
                word.clear();
                inWord = false;
            } else if (c == QLatin1Char('\'')) {
                quote = Single;
                inWord = true;
            } else if (c == QLatin1Char('"')) {
                quote = Double;
                inWord = true;
            } else if (c == QLatin1Char('\\')) {
                if (i + 1 >= line.size())
                    return false;
                word += line[++i];
                inWord = true;
            } else {
                word += c;
                inWord = true;
            }
            break;
        }
    }
    if (quote != Plain)
        return false;
    if (inWord)
        words << word;
    return true;
}

} // namespace kalvo
