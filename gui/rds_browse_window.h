#pragma once

#include "core/io/rds_browser.h"

#include <QDialog>

class QListWidget;

namespace kalvo {

class TfrmModel;
struct TShell;

// "RDS オブジェクト選択": lists the mesh objects of an RDS file and loads every one of them into
// a preview window. The Open command creates one per file, scans and loads without showing
// it, and closes it; reading reports to the main window's status bar and progress bar.
class TfrmRDSbrows : public QDialog
{
    Q_OBJECT

public:
    TfrmRDSbrows(TShell& shell, TfrmModel& target);
    ~TfrmRDSbrows() override;

    // True when the file holds at least one named mesh object; their names fill lbxRDS.
    // Throws TReadError when the file cannot be read.
    bool ScanFile(const std::string& fileName);
    // Loads every listed object into a new entry of the target window, with one tree node per
    // group. Throws TReadError; the entries made before stay.
    void LoadObjects();

    QListWidget* lbxRDS = nullptr;

private:
    TShell& shell_;
    TfrmModel& target_;
    TRDSbrowser browser_;
};

} // namespace kalvo
