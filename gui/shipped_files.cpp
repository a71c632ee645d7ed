#include "gui/shipped_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef KALVO_SHARE_FROM_BIN
#define KALVO_SHARE_FROM_BIN "../share/kalvo3d"
#endif

namespace kalvo {

QStringList ShippedFileFolders(TLookFirst first)
{
    const QString current = QDir::currentPath();
    const QString program = QCoreApplication::applicationDirPath();
    QStringList folders = first == TLookFirst::CurrentFolder ? QStringList{current, program}
                                                             : QStringList{program, current};
    // Relative to the executable rather than to the configured prefix, so that a tree installed
    // with another prefix, or moved, still finds its files.
    folders << QDir::cleanPath(program + QStringLiteral("/" KALVO_SHARE_FROM_BIN));
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir(data).filePath(QStringLiteral("kalvo3d"));
    folders.removeDuplicates();
    return folders;
}

QString ShippedFilePath(const QString& name, TLookFirst first)
{
    const QStringList folders = ShippedFileFolders(first);
    for (const QString& folder : folders) {
        const QString path = QDir(folder).absoluteFilePath(name);
        if (QFileInfo(path).isFile())
            return path;
    }
    return QDir(folders.front()).absoluteFilePath(name);
}

} // namespace kalvo
