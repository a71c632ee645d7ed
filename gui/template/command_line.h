#pragma once

#include <QStringList>

namespace kalvo {

// Splits a command line into words as a POSIX shell splits a simple command, without running
// a shell: blanks separate words; '...' keeps its contents as they are; "..." keeps them too
// except that a backslash escapes ", \, $ and `; outside quotes a backslash keeps the next
// character as it is. Nothing is expanded (no variables, patterns or ~). False when a quote
// is left open or the line ends in a lone backslash.
bool SplitCommandLine(const QString& line, QStringList& words);

} // namespace kalvo
