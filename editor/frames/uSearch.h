#pragma once
// The search view: the alternative to the browser in the left column. The
// translator picks what to look for (all variables, those marked for review,
// or those missing in some language), optionally a text that the path or a
// text must contain, and starts the search. A worker thread walks the union
// of the ticked packs and streams its results into the list; selecting a
// result makes it the current variable of the name field and value panel.

#include "editor/uTypes.h"

#include "engine/uEngine.h"

#include <QThread>
#include <QWidget>

#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace lx::editor {

/// What a search looks for, taken on the user-interface thread at its start.
struct TSearchCriteria {
    int Type = 0; ///< 0 all, 1 marked for review, 2 missing in some pack
    bool InName = false;
    std::string NameText;
    bool InText = false;
    std::u16string Text;
};

/// The packs a search reads, with their tick states, and the review flags of
/// the ticked packs (upper-case paths) as they were when it started.
struct TSearchInput {
    std::vector<const TXMLTreeItem*> Packs;
    std::vector<bool> Ticked;
    std::unordered_set<std::string> Flagged;
};

/// The search itself, free of any control: calls `found(path, index)` for
/// every result in global-index order of the union, stops before the next
/// item once `stop` is set. Returns the number of items of the union.
int RunSearch(const TSearchInput& input, const TSearchCriteria& criteria,
              const std::atomic<bool>& stop,
              const std::function<void(const std::string&, int)>& found,
              const std::function<void(int)>& started);

class TfrSearch;

class TSearchThread : public QThread {
    Q_OBJECT
public:
    TSearchThread(TfrSearch* frame, TSearchInput input, TSearchCriteria criteria);
    void Stop() { FStop = true; }

signals:
    /// A batch of results in the order found, with the index of the last one.
    void Found(const QStringList& paths, int index);
    void Maximum(int maximum);

protected:
    void run() override;

private:
    TSearchInput FInput;
    TSearchCriteria FCriteria;
    std::atomic<bool> FStop{false};
};

class TfrSearch : public QWidget, public IBrowserCtrl {
    Q_OBJECT
public:
    explicit TfrSearch(QWidget* parent = nullptr);
    /// Stops a running search and waits for its end.
    ~TfrSearch() override;

    void SetLinks(IMainControl* main, ILangPack* packs, IVarMemo* memo, IVarNameEditor* name);
    /// Where the review flags are kept (the browser); the flag operations of
    /// this view are those of the browser.
    void SetFlags(IBrowserCtrl* flags) { FFlags = flags; }
    /// The file the flags of a search's type 1 are read from.
    void SetFlagsFile(const std::string& file) { FFlagsFile = file; }

    void StartSearch();
    void StopSearch();
    /// Stops a running search and finishes it before returning.
    void StopAndWait();
    bool Searching() const { return FWorker != nullptr; }

    void BeginUpdate() override { FUpdating = true; }
    void EndUpdate() override { FUpdating = false; }
    std::string GetSelectedVar() override;
    void SelectVar(const std::string& path) override;
    /// The results as a tree (built when first asked for after a search).
    TTree* GetTree() override;
    bool VarExists(const std::string& path) override;
    void ClearValues() override;
    int GetVarKind(const std::string& path) override;
    bool CanAddVar(const std::string&) override { return false; }
    void AddVar(const std::string&) override {}
    void DeleteVar(const std::string&) override {}
    void SetNeedToChange(const std::string& pack, const std::string& path) override;
    void ClearNeedToChange(const std::string& pack, const std::string& path) override;
    bool GetNeedToChange(const std::string& path, const std::string& pack) override;
    void Refresh() override { StartSearch(); }

signals:
    /// A search started (true) or ended (false).
    void SearchRunning(bool running);

private:
    void SearchFinished();
    void ReportSelection();
    void SetCriteriaEnabled(bool on);
    std::unordered_set<std::string> FlaggedPaths() const;
    void AddResults(const QStringList& paths);

    bool FUpdating = false;
    TSearchThread* FWorker = nullptr;
    // The results in the order found; for lookups their upper-case paths and
    // those of the folders above them (sibling lookups in a tree are linear).
    std::vector<std::string> FResultList;
    std::unordered_set<std::string> FResults;
    std::unordered_set<std::string> FFolders;
    std::unique_ptr<TTree> FResultTree;
    bool FTreeStale = false;
    ILangPack* FLangPack = nullptr;
    IMainControl* FMainControl = nullptr;
    IVarNameEditor* FNameEditor = nullptr;
    IVarMemo* FVarMemo = nullptr;
    IBrowserCtrl* FFlags = nullptr;
    std::string FFlagsFile;

    QLabel* FTypeLabel;
    QComboBox* FType;
    QCheckBox* FInName;
    QLineEdit* FNameText;
    QCheckBox* FInText;
    QLineEdit* FText;
    QPushButton* FAction;
    QProgressBar* FProgress;
    QListWidget* FList;
};

} // namespace lx::editor
