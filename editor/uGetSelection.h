#pragma once
// The selection dialog: picks one row, several rows, or a model row and
// several target rows out of the pack set's rows (ILangPack::GetPackList).
// Rows carry their columns separated by the character with code 1; the
// dialog draws them in columns under the header.

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QHeaderView;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStandardItemModel;
class QWidget;

namespace lx::editor {

class TfGetSelection : public QDialog {
    Q_OBJECT
public:
    /// Mode flags: a chosen row is required, a ticked row is required.
    enum : int { kNeedChoice = 1, kNeedTick = 2 };

    explicit TfGetSelection(QWidget* parent = nullptr);

    /// Fills the dialog. `model` shows the drop-down above the list (the
    /// model row); `ticks` gives a check box per row (null: single choice).
    void Fill(const QString& caption, const QString& prompt, const std::vector<std::string>& rows,
              const std::vector<std::string>& headers, int mode, bool model, int selected,
              const std::vector<bool>* ticks);

    int SelectedRow() const;
    int ModelRow() const;
    std::vector<bool> Ticks() const;
    /// The Ok rule; run after every choice, click and tick.
    void UpdateOk();

private:
    int FMode = 0;
    QPlainTextEdit* FPrompt;
    QWidget* FMain;
    QHeaderView* FHeader;
    QStandardItemModel* FHeaderModel;
    QListWidget* FList;
    QListWidget* FCheckList;
    QComboBox* FSelect;
    QPushButton* FOk;
};

/// One row: `index` holds the selected row on entry and the chosen one on Ok.
bool SelectOne(const QString& caption, const QString& prompt, const std::vector<std::string>& rows,
               int& index, const std::vector<std::string>& headers = {});
/// Several rows: `ticks` pre-ticks rows on entry and holds one entry per row on Ok.
bool SelectSeveral(const QString& caption, const QString& prompt,
                   const std::vector<std::string>& rows, std::vector<bool>& ticks,
                   const std::vector<std::string>& headers = {});
/// A model row from the drop-down, and target rows ticked below it.
bool SelectModelAndTargets(const QString& caption, const QString& prompt,
                           const std::vector<std::string>& rows, int& model,
                           std::vector<bool>& ticks, const std::vector<std::string>& headers = {});

} // namespace lx::editor
