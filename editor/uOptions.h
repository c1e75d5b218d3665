#pragma once
// The options dialog: facts of the open project, the list of packs with
// add, edit and remove (acting on the pack set at once), and the
// integration page.

#include <QDialog>

#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeWidget;

namespace lx::editor {

class ILangPack;

class TfOptions : public QDialog {
    Q_OBJECT
public:
    /// With a page index (0 Project, 1 Packages, 2 Integration) that page is
    /// shown and the others cannot be chosen; -1 leaves the choice free.
    TfOptions(ILangPack* packs, int page, QWidget* parent = nullptr);

    /// The project folder: the folder of the first pack that has a file.
    static std::string ProjectFolder(ILangPack* packs);
    /// The bytes of the files "*.lng" of a folder (0 when it is missing).
    static unsigned long long PackageSize(const std::string& folder);

private:
    void FillProject();
    void FillPacks();
    void UpdateButtons();
    void AddPack();
    void EditPack();
    void RemovePack();
    ILangPack* FPacks;
    QTabWidget* FPages;
    QLineEdit* FProjectDir;
    QLabel* FLangCount;
    QLabel* FPackSize;
    QTreeWidget* FList;
    QPushButton* FAdd;
    QPushButton* FEdit;
    QPushButton* FRemove;
    QCheckBox* FIntegrate;
    QLabel* FHostLabel;
    QLineEdit* FHostApp;
    QPushButton* FBrowse;
};

/// Shows the dialog for the set; true when closed with Ok.
bool ShowOptions(ILangPack* packs, int page, QWidget* parent = nullptr);

} // namespace lx::editor
