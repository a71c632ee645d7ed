#pragma once

#include <QString>
#include <string>

namespace kalvo {

// A text the core library produced (a reader's message, an error, a status line, the name of a
// fixed viewpoint), in the language of the installed translation. The core writes Japanese,
// often joined with file names, numbers or other messages; the shapes of its texts are listed
// in core_texts.cpp for the translation tools, and a text is translated by its shape with the
// joined parts put back (translated too, when they are texts of the core themselves). A text of
// no known shape comes back unchanged, as does every text while no translation is installed.
QString CoreText(const QString& text);
QString CoreText(const std::string& utf8);
QString CoreText(const char* utf8);

} // namespace kalvo
