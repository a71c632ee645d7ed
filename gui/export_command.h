#pragma once

namespace kalvo {

class TfrmModel;
struct TFileDialog;
struct TShell;

// What an export ended with.
enum class TExportResult {
    Written,       // the file was written
    NothingToSave, // nothing selected, or every selected object refused: no dialog shown
    Cancelled,     // the save dialog or the overwrite question was cancelled
    Failed,        // the file could not be written; the user was told why
};

// Writes the objects selected in window's object list as an RDS file. Each selected model is
// checked first: one with an edge shared by three or more polygons is refused with a message
// (the others still go out); one with lines that bound no polygon leads to a question whether
// to write those lines. Then the save dialog (saveDialog, which keeps the last folder and
// name) and, for an existing file, the overwrite question. No file is created unless
// everything was answered and written; an existing file is replaced only once the new one is
// complete.
TExportResult ExportSelectedObjects(TShell& shell, TfrmModel& window, TFileDialog& saveDialog);

} // namespace kalvo
