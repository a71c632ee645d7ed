#pragma once

#include <QString>
#include <QStringList>

namespace kalvo {

// Which folder a shipped file is looked for in first: the cursors come from the folder the
// program was started in, the read-me from the program's own folder.
enum class TLookFirst { CurrentFolder, ProgramFolder };

// The folders searched for the files the program ships (cursors, read-me), in order: the
// first two as `first` says, then the share folder of an installed program (next to its bin
// folder), then kalvo3d/ in each XDG data folder. Needs the application object.
QStringList ShippedFileFolders(TLookFirst first);

// The absolute path of a shipped file in the first of those folders that holds it; the path in
// the first folder when none does, so a failure names the place that was expected.
QString ShippedFilePath(const QString& name, TLookFirst first);

} // namespace kalvo
