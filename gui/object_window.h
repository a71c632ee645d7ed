#pragma once

#include "core/model/model_list.h"
#include "core/model/uv_projection.h"

#include <QIcon>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>
#include <optional>
#include <string>

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

// The object window of one preview window: shows the window's model list (one list item per
// entry, in list order) and a tree of models and their groups. It owns the model list and, by
// guarded pointers, the models' map template windows; list items and tree nodes only refer to
// entries. The preview window creates it, shows and hides it, and draws from Models(); the
// Open command adds entries through CreateModelEntry; the export command walks the selection.
class TfrmObj : public QWidget
{
    Q_OBJECT

public:
    TfrmObj(TShell& shell, TfrmModel& owner);
    ~TfrmObj() override;

    // The document's models. Change entries through this window (AddEntry, the delete
    // command) so that the list items follow; the scene and the template window read it.
    TModelList& Models() { return models_; }
    const TModelList& Models() const { return models_; }

    // Takes model into the list: an entry, a top-level tree node and a list item, both with
    // the model's name, state image 0 (shown). Returns the entry.
    TModelEntry& AddEntry(std::unique_ptr<TpreviewObj> model);
    // Records the groups of model (numbers 1 .. its GroupCount) in its entry and lists them as
    // "グループ n" under its tree node. For a model read after AddEntry.
    void AddGroups(const TpreviewObj& model);

    // The map template window of model, or null.
    QWidget* TemplateWindowOf(const TpreviewObj& model) const;
    // Makes window the template window of model (listed here). This window owns it from then
    // on: it is closed and freed before the model's entry is removed, or with this window;
    // the template window may also close and free itself before.
    void SetTemplateWindow(const TpreviewObj& model, QWidget* window);
    // Closes and frees the template window of model, if any, and clears the model's link to
    // it. Runs before a model is freed.
    void CloseTemplateWindow(TpreviewObj& model);

    // The list items, in list order (item i shows entry i).
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
    std::optional<TBox> SelectedBox() const { return models_.SelectedBox(); }

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
    QMenu* mnuMakeUv = nullptr; // "UV を生成": one item per projection

public slots:
    void SpeedButton1Click(); // the read button: the Open command into this preview window
    void lvwObjChange();      // selection changed: buttons, object button caption, redraw
    void mnuMaptClick(); // "マッピング テンプレート...": size dialog, then the template window
    void Close1Click(); // "閉じる", the delete button: removes the selected models

public:
    // "UV を生成" > projection: new (u, v) for the selected models, after asking when some
    // already have any; their open template windows are rebuilt.
    void mnuMakeUvClick(TUvProjection projection);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Mouse down in the list: the column under the pointer decides. Returns true when the
    // press was used up (a click on the state image leaves the selection alone).
    bool lvwObjMouseDown(const QPoint& pos);
    QIcon ItemPicture(int stateIndex, int iconIndex);
    // The tree's picture of a model (0) or a group (1), drawn once and shared by every node: a
    // deleted model's node stays in the tree, and a picture of its own would stay with it.
    QIcon TreePicture(int index);
    // Shows entry index's state and icon images on its list item.
    void ShowItemPicture(int index);
    void SetObjectButtonCaption(const QString& caption);
    // Copies the list's selection into the entries.
    void TakeSelection();
    QTreeWidgetItem* TreeNodeOf(const TpreviewObj& model) const;
    // The work of mnuMaptClick and Close1Click, which run it guarded.
    void MapTemplateCommand();
    void DeleteSelected();

    TShell& shell_;
    TfrmModel& owner_;
    TModelList models_;
    std::map<const TpreviewObj*, QPointer<QWidget>> templateWindows_;
    TpreviewObj* currentModel_ = nullptr;
    bool busy_ = false;
    QIcon pictures_[2][2]; // by state image and icon, drawn when first needed
    QIcon treePictures_[2];
};

} // namespace kalvo
