#pragma once

#include "core/preview/view_state.h"

#include <QIcon>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kalvo {

class TfrmModel;
class TpreviewObj;
struct TShell;

// The object window of one preview window: the list of the window's models (one item per
// model, in the order they were read) and a tree of models and their groups. It owns the
// models; the list items and tree nodes only refer to them. The preview window creates it,
// shows and hides it, and reads the items' state and selection when it draws; the Open command
// adds entries through CreateModelEntry; the export command walks the selection.
class TfrmObj : public QWidget
{
    Q_OBJECT

public:
    TfrmObj(TShell& shell, TfrmModel& owner);
    ~TfrmObj() override;

    // Takes model into the window: a top-level tree node and a list item, both with the
    // model's name, state image 0 (shown). Returns the tree node.
    QTreeWidgetItem* AddEntry(std::unique_ptr<TpreviewObj> model);
    // Appends "グループ n" under a model's tree node.
    QTreeWidgetItem* AddGroupNode(QTreeWidgetItem* modelNode, int number);

    // The list, in list order.
    int ItemCount() const;
    TpreviewObj* ItemModel(int index) const;
    bool ItemSelected(int index) const;
    int ItemStateIndex(int index) const; // 0 shown, 1 hidden
    int ItemIconIndex(int index) const;
    void SetItemSelected(int index, bool selected);
    int SelectedCount() const;

    // The model of the only selected item, or null.
    TpreviewObj* CurrentModel() const { return currentModel_; }

    // The union of the boxes of the selected models, or of all models when none is selected;
    // hidden models count, models without vertices do not. Nothing when no model counts.
    std::optional<TBox> SelectedBox() const;

    TfrmModel& Owner() const { return owner_; }

    // Shared by the object windows of all preview windows: how many items were selected after
    // the last selection change in any of them.
    static int LastSelectionCount;

    QToolButton* SpeedButton1 = nullptr;
    QToolButton* btnMakeTemplate = nullptr;
    QToolButton* btnAlwaysView = nullptr;
    QToolButton* btnDelete = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QTreeWidget* lvwObj = nullptr;
    QTreeWidget* tvwObj = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* mnuMapt = nullptr;
    QAction* Close1 = nullptr;
    QAction* N2 = nullptr;
    QAction* N3 = nullptr;
    QAction* N4 = nullptr;
    QAction* N5 = nullptr;

public slots:
    void SpeedButton1Click();
    void lvwObjChange();
    void mnuMaptClick();
    void Close1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Mouse down in the list: the column under the pointer decides. Returns true when the
    // press was used up (a click on the state image leaves the selection alone).
    bool lvwObjMouseDown(const QPoint& pos);
    QIcon ItemPicture(int stateIndex, int iconIndex);
    void SetItemStateIndex(QTreeWidgetItem* item, int stateIndex);
    void SetItemIconIndex(QTreeWidgetItem* item, int iconIndex);
    void SetObjectButtonCaption(const QString& caption);
    void DestroyModel(TpreviewObj* model);

    TShell& shell_;
    TfrmModel& owner_;
    std::vector<std::unique_ptr<TpreviewObj>> models_;
    TpreviewObj* currentModel_ = nullptr;
    bool busy_ = false;
    QIcon pictures_[2][2]; // by state image and icon, drawn when first needed
};

// Closes the map template window of model, if it has one, and clears the model's reference to
// it. Called before a model is destroyed.
void CloseTemplateWindow(TpreviewObj& model);

} // namespace kalvo
