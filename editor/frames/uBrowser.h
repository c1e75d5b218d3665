#pragma once
// The variable browser: the variables of all ticked packs as one tree (the
// browse tree), narrowed to a folder with the path combo boxes. It adds,
// renames, deletes and moves variables in every pack at once, shows the
// variables marked for review in red, and fills packs from a model language.

#include "editor/uCNWizard.h"
#include "editor/uReviewFlags.h"
#include "editor/uTypes.h"

#include "engine/uEngine.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class QComboBox;
class QLineEdit;
class QMenu;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

namespace lx::editor {

class TfrBrowser : public QWidget, public IBrowserCtrl {
    Q_OBJECT
public:
    explicit TfrBrowser(QWidget* parent = nullptr);
    ~TfrBrowser() override;

    /// Links the pack set and rebuilds. (The main window refreshes the
    /// browser whenever the pack panel reports a change of the set or a tick.)
    void SetLangPack(ILangPack* packs);
    void SetNameEditor(IVarNameEditor* editor) { FNameEditor = editor; }
    void SetVarMemo(IVarMemo* memo) { FVarMemo = memo; }
    /// Folders and variables of the browse tree.
    int GetVarCount() const;

    void BeginUpdate() override { FUpdating = true; }
    /// Not a counter: one EndUpdate ends every BeginUpdate.
    void EndUpdate() override { FUpdating = false; }
    std::string GetSelectedVar() override;
    void SelectVar(const std::string& path) override;
    TTree* GetTree() override { return FTree.get(); }
    bool VarExists(const std::string& path) override;
    void ClearValues() override;
    int GetVarKind(const std::string& path) override;
    /// True for a path every name of which is a valid item name.
    bool CanAddVar(const std::string& path) override;
    void AddVar(const std::string& path) override;
    void DeleteVar(const std::string& path) override;
    void SetNeedToChange(const std::string& pack, const std::string& path) override;
    void ClearNeedToChange(const std::string& pack, const std::string& path) override;
    bool GetNeedToChange(const std::string& path, const std::string& pack) override;
    void Refresh() override;

    // The commands of the main window and the popup menu; without a node
    // they act on the selected one.
    void DeleteSelected(QTreeWidgetItem* node = nullptr);
    void StartRename(QTreeWidgetItem* node = nullptr);
    void SynchronizePacks();
    /// What a move shows the old and new names with when the setting asks for
    /// the template rename wizard (ShowRenameWizard unless replaced).
    void SetRenameWizard(std::function<void(const TVarNames&)> show) {
        FShowWizard = std::move(show);
    }

    // The drag timers' work (each timer's timeout runs it).
    void tmrExpandTimer();
    void tmrScrollerTimer();
    /// One scroller step for the pointer at `y` in the tree view.
    void ScrollForPointer(int y);

    // Drag and drop on the tree view (its drag events call these).
    void DragStarted(QTreeWidgetItem* node);
    /// Whether a drop on `target` would be taken; selects an accepted target.
    bool DragOver(QTreeWidgetItem* target, const QPoint& pos);
    void DragDropped(QTreeWidgetItem* target);
    void DragEnded();
    bool Dragging() const { return FDragNode != nullptr; }
    QTreeWidgetItem* NodeOf(const std::string& path) const;

signals:
    /// The selected node changed (also to none).
    void SelectedVarChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// The texts set in code follow the interface language.
    void changeEvent(QEvent* event) override;

private:
    TTree* ItemOf(const QTreeWidgetItem* node) const;
    std::string PathOf(const QTreeWidgetItem* node) const;
    TXMLTreeItem* PackItem(int pack, const std::string& path) const;

    // Path combo boxes.
    QComboBox* Combo(int k);
    int VisibleCombos() const;
    TTree* ComboFolder(int k) const;
    void FillCombo(int k, TTree* folder);
    void ComboChanged(int k);
    /// The items chosen in the visible combo boxes, from the top.
    std::vector<TTree*> ChosenItems() const;
    /// Lists every combo box's folder again and chooses `chosen` where it
    /// still hangs there; the view is rebuilt when its folder changed.
    void ResyncCombos(std::vector<TTree*> chosen, bool rebuildView);
    TTree* ViewFolder() const;

    // The tree view.
    void FillView(TTree* folder);
    QTreeWidgetItem* MakeNode(TTree* item);
    void AddSubtreeNodes(QTreeWidgetItem* parent, TTree* item);
    void InsertSorted(QTreeWidgetItem* parent, QTreeWidgetItem* node);
    void SortChildren(QTreeWidgetItem* parent);
    void ForgetNodes(QTreeWidgetItem* node);
    void ReportSelection();
    void SelectNode(QTreeWidgetItem* node);

    void AddVarInner(const std::string& path);
    bool AskFolderTargets(const std::string& path, std::vector<std::string>& targets,
                          std::vector<std::string>& formerVariables);
    bool FolderTargetUsable(const std::string& target, const std::string& former,
                            const std::string& path) const;
    void FinishRename();
    void CancelRename();
    void DoubleClicked(QTreeWidgetItem* node);
    bool MoveRefused(TTree* dragged, TTree* target);

    ILangPack* FPacks = nullptr;
    IVarNameEditor* FNameEditor = nullptr;
    IVarMemo* FVarMemo = nullptr;
    std::unique_ptr<TTree> FTree;
    bool FUpdating = false;
    QTreeWidgetItem* FDragNode = nullptr;

    QWidget* FTop;
    QVBoxLayout* FComboLayout;
    std::vector<QComboBox*> FCombos;
    QTreeWidget* FView;
    QLineEdit* FRenameEdit;
    QTreeWidgetItem* FRenaming = nullptr;
    QMenu* FPopup;
    QTimer* FExpandTimer;
    QTimer* FScrollTimer;
    QTreeWidgetItem* FExpandTag = nullptr;
    QTreeWidgetItem* FLastEntered = nullptr;
    QPoint* FDragPos;
    std::unordered_map<const TTree*, QTreeWidgetItem*> FNodes;

    std::function<void(const TVarNames&)> FShowWizard = ShowRenameWizard;
    TReviewFlags FFlags;
    // Names of the ticked packs, taken at every refresh (every tick change
    // refreshes), so that painting a row reads no settings file.
    std::vector<std::string> FTickedNames;
};

} // namespace lx::editor
