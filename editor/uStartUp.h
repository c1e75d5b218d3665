#pragma once
// The start-up dialog, shown when the default working folder is on an FTP
// server: loading it may take long, so the user may choose another folder or
// an empty start.

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QRadioButton;

namespace lx::editor {

class TfStartUp : public QDialog {
    Q_OBJECT
public:
    TfStartUp(const std::string& defaultFolder, const std::vector<std::string>& recent,
              QWidget* parent = nullptr);
    /// The folder chosen with the dialog's current settings: the default
    /// folder, the text of the list, or empty for an empty project.
    std::string Choice() const;

private:
    std::string FDefault;
    QRadioButton* FUseDefault;
    QRadioButton* FUseOther;
    QRadioButton* FEmpty;
    QComboBox* FOther;
};

/// Shows the dialog; empty when it is closed other than with Start.
std::string ChooseStartProject(const std::string& defaultFolder,
                               const std::vector<std::string>& recent, QWidget* parent = nullptr);

} // namespace lx::editor
