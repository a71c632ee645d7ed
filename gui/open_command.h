#pragma once

#include "core/model/model_list.h"

#include <QString>
#include <string>

namespace kalvo {

class TfrmModel;
class TfrmObj;
class TpreviewObj;
struct TShell;

// The open dialog's filter indices: which reader a file goes to.
enum TOpenFilter : int {
    kFilterOwnFormat = 1, // the program's own format: nothing is read
    kFilterDxf = 2,
    kFilterRok = 3,
    kFilterRds = 4,
    kFilterLibrary = 5,   // OBJ, STL, PLY, glTF, 3DS, LWO, COLLADA, FBX through Assimp
    kFilterAllModels = 6, // every kind the program reads, by the file's extension
};

// The open dialog's filter list, in TOpenFilter order.
QString OpenDialogFilter();

// Creates an empty model named name (code page 932), bound to window, and registers it in the
// window's object window: an entry of its model list, a top-level tree node and a list item,
// shown. Every reader path makes its models this way.
TModelEntry& CreateModelEntry(TfrmModel& window, const std::string& name);

// Reads the file at path into target by the filter index, with the wait window shown while
// it reads and, when the read takes long, a progress dialog with the file's name, the percent
// read and a Cancel button; then lays the window out again so the new models show. A DXF or
// ROK file adds one entry even when it turns out empty or damaged (its reader tells the user);
// an RDS file one per mesh object. The models join the document only when the read ends, so a
// cancelled read leaves it as it was. Files that cannot be read are reported with the system's
// message.
enum class TOpenResult { Read, Failed, Cancelled };
TOpenResult ReadModelInto(TShell& shell, TfrmModel& target, const QString& path, int filterIndex);

// The filter index that reads path, by its extension; 0 for a file of no known kind.
int FilterIndexOfPath(const QString& path);

// The folder of an opened file, with its trailing separator, as the open dialogs keep it.
std::string FolderOfFile(const QString& path);

} // namespace kalvo
