#pragma once
// The template rename wizard: after variables were moved to another folder,
// it rewrites the template files (HTML pages, PHP scripts) that refer to them
// by their old names.

#include <QDialog>

#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace lx::editor {

/// One renamed variable: its old and its new full path.
struct TVarNamesItem {
    std::string FromName;
    std::string ToName;
    bool operator==(const TVarNamesItem&) const = default;
};
/// In pre-order: a moved item first, then everything below it.
using TVarNames = std::vector<TVarNamesItem>;

class TCNWizardThread;

/// The wizard dialog: the pairs in a grid, the folder and masks of the
/// templates, and a scan that runs in a worker while the controls rest.
class TfCNWizard : public QDialog {
    Q_OBJECT
public:
    explicit TfCNWizard(const TVarNames& pairs, QWidget* parent = nullptr);
    ~TfCNWizard() override;

    /// Starts a scan (the Scan button).
    void Scan();
    bool Scanning() const { return FThread != nullptr; }
    /// The pairs a scan uses: the grid's rows with an old name, in order
    /// (they are the pairs handed in until the user edits the grid).
    TVarNames GridPairs() const;

    /// Closing is refused while a scan runs; every close keeps the folder and
    /// the masks in main.ini.
    void done(int result) override;

signals:
    /// A scan ended and its message was shown.
    void ScanFinished();

private:
    void Browse();
    void Finish(const QString& stoppedAt);
    void SetIdle(bool idle);
    QTableWidget* FGrid;
    QLineEdit* FFolder;
    QToolButton* FBrowse;
    QLineEdit* FMasks;
    QCheckBox* FDropPrefix;
    QProgressBar* FProgress;
    QPushButton* FScan;
    QPushButton* FCancel;
    std::unique_ptr<TCNWizardThread> FThread;
};

/// Shows the wizard modally for the pairs.
void ShowRenameWizard(const TVarNames& pairs);

} // namespace lx::editor
