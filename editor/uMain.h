#pragma once
// The main window: it opens and closes working folders through the pack-set
// panel, asks before a set with changes is left, and runs the save, refresh,
// download and upload commands. (The browser, name field, value panel and
// search view join it with their own units.)

#include "frames/uVarNameEditor.h"
#include "uProgressViewer.h"
#include "uTypes.h"

#include <QMainWindow>

#include <string>

class QAction;
class QLineEdit;
class QMenu;
class QStackedWidget;
class QToolBar;

namespace lx {
class TLXApp;
class TLXForm;
} // namespace lx

namespace lx::editor {

class TfrBrowser;
class TfrSearch;
class TfrLangPacks;
class TfrVarMemo;
class TfrVarNameEditor;

class TfMain : public QMainWindow, public IProgressViewer, public IMainControl {
    Q_OBJECT
public:
    explicit TfMain(QWidget* parent = nullptr);
    ~TfMain() override;

    /// Opens a folder, or with an empty text closes the set; asks nothing.
    void OpenWorkingFolder(const std::string& folder);
    /// May the set be left? Asks to save when packs have unsaved changes.
    bool CloseQuestion();

    /// The clipboard panel shows what the clipboard holds.
    void ShowClipboardHint();

    void SaveCommand();
    void RefreshCommand();
    void DownloadCommand();
    void UploadCommand();

    // The commands that open dialogs or act on the browser; each one is
    // enabled with the set (see UpdateSetCommands).
    void NewPackCommand();    ///< the pack options dialog in add mode
    void DeletePackCommand(); ///< the selection dialog over the packs
    void FTPWorkDirCommand(); ///< the FTP account dialog
    void OptionsCommand();    ///< the options dialog
    /// The -l start: the options dialog locked on its packs page; then the
    /// packs are saved, the set closed, and an editor started for the IDE closes.
    void ListOnlyStart();
    void DeleteVarCommand();   ///< deletes the browser's selected variable
    void RenameVarCommand();   ///< starts renaming it in the browser
    void SynchronizeCommand(); ///< fills packs from a model language
    /// Shows the browser (find false) or the search view, and links the name
    /// field and the value panel to it.
    void SwitchView(bool find);
    bool SearchViewShown() const { return FSearchShown; }
    /// The commands on the selected variable follow the visible view.
    void UpdateCommandStates();
    /// The browser is in view and a node is selected.
    bool VarSelected() const;

    /// Modal mode (editing for the IDE): the tool bars give way to Ok and Cancel.
    void SetModalMode(bool on);
    /// Leaves modal mode; with ok the set is saved; the set is closed without a
    /// question; a window started for the IDE closes.
    void FinishModal(bool ok);
    bool ModalStart = false;
    /// An IDE request with the shared text (the connection delivers both):
    /// code 3 opens the folder in modal mode and selects the variable.
    void HandleIDERequest(int code, std::int64_t window, const std::string& sharedText);

    TfrLangPacks* LangPacks() const { return FLangPacks; }
    TfrBrowser* Browser() const { return FBrowser; }
    TfrVarNameEditor* NameEditor() const { return FNameEditor; }
    TfrVarMemo* VarMemo() const { return FVarMemo; }
    lx::TLXApp* App() const { return FApp; }
    /// The window caption's form of a folder: an FTP address without its password.
    static std::string DisplayFolder(const std::string& folder);

    // The action status: the action text, and the tool bars disabled while
    // a long action runs.
    void Progress(const void* sender, int mode, int kind, long long position,
                  long long maximum) override;
    void ActionsChanged(const void* sender, const std::vector<std::string>& actions) override;
    void Started(const void* sender) override;
    void Finished(const void* sender) override;
    void EnableFrames(bool enabled, void* frame, bool spare) override;
    TfrSearch* Search() const { return FSearch; }

    /// The clipboard format of variable names chosen in the settings menu.
    TNameFormat ClipboardNameFormat() const;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SelectedVarChanged();
    void BuildMenus();
    void RebuildReopenMenu();
    void UpdateSetCommands();
    bool NetBarVisible() const;
    QAction* AddCheck(QMenu* menu, const char* name, const char* caption, const char* section,
                      bool def);
    void ApplyBarStates();
    void LoadWindowSettings();
    void SaveWindowPositions();

    void SetCaption();
    bool FOpenedOnce = false; // the caption names a folder after the first open or close
    TfrLangPacks* FLangPacks;
    TfrBrowser* FBrowser;
    TfrVarNameEditor* FNameEditor;
    TfrVarMemo* FVarMemo;
    lx::TLXApp* FApp;
    lx::TLXForm* FForm;
    QToolBar* FStatusBar;
    QToolBar* FHotKeys = nullptr;
    QToolBar* FNetBar = nullptr;
    QToolBar* FBufBar = nullptr;
    QLineEdit* FBufHint = nullptr;
    QAction* FStandardChecked = nullptr;
    QAction* FBufChecked = nullptr;
    QLineEdit* FStatus;
    QMenu* FReopen = nullptr;
    QMenu* FGo = nullptr;
    QMenu* FNet = nullptr;
    QAction* FNetBarChecked = nullptr;
    QAction* FStatusChecked = nullptr;
    QWidget* FModalBar = nullptr;
    std::vector<QAction*> FSetCommands;
    std::vector<QAction*> FVarCommands;       // need a selected node after a switch
    std::vector<QAction*> FSelectionCommands; // follow the selection
    QAction* FViewEdit = nullptr;
    QAction* FViewFind = nullptr;
    bool FSearchShown = false;
    bool FFramesEnabled = true;
    bool FShownOnce = false; // bar positions are real only once the window was shown
    std::vector<QAction*> FDisabledForSearch;
    TfrSearch* FSearch = nullptr;
    QStackedWidget* FBrowse = nullptr;
    QMenu* FFileMenu = nullptr;
    QMenu* FActionMenu = nullptr;
};

} // namespace lx::editor
