#pragma once
// The variable browser: the variables of all ticked packs as one tree.
// This first version shows and selects; adding, renaming, deleting, moving
// and the review marks come with the browser's own work.

#include "editor/uTypes.h"

#include "engine/uEngine.h"

#include <QWidget>

#include <memory>

class QTreeWidget;
class QTreeWidgetItem;

namespace lx::editor {

class TfrBrowser : public QWidget, public IBrowserCtrl {
    Q_OBJECT
public:
    explicit TfrBrowser(QWidget* parent = nullptr);

    void SetLangPack(ILangPack* packs);
    void SetNameEditor(IVarNameEditor* editor) { FNameEditor = editor; }
    void SetVarMemo(IVarMemo* memo) { FVarMemo = memo; }
    /// Folders and variables of the browse tree.
    int GetVarCount() const;

    void BeginUpdate() override { ++FUpdating; }
    void EndUpdate() override { --FUpdating; }
    std::string GetSelectedVar() override;
    void SelectVar(const std::string& path) override;
    TTree* GetTree() override { return FTree.get(); }
    bool VarExists(const std::string& path) override;
    void ClearValues() override;
    int GetVarKind(const std::string& path) override;
    bool CanAddVar(const std::string&) override { return true; }
    void AddVar(const std::string&) override {}
    void DeleteVar(const std::string&) override {}
    void SetNeedToChange(const std::string&, const std::string&) override {}
    void ClearNeedToChange(const std::string&, const std::string&) override {}
    bool GetNeedToChange(const std::string&, const std::string&) override { return false; }
    void Refresh() override;

    // The commands of the main window on the selected variable.
    void DeleteSelected() {}
    void StartRename() {}
    void SynchronizePacks() {}

signals:
    /// The selected node changed (also to none).
    void SelectedVarChanged();

private:
    void SelectionChanged();
    ILangPack* FPacks = nullptr;
    IVarNameEditor* FNameEditor = nullptr;
    IVarMemo* FVarMemo = nullptr;
    std::unique_ptr<TTree> FTree;
    QTreeWidget* FView;
    int FUpdating = 0;
};

} // namespace lx::editor
