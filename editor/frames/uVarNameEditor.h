#pragma once
// The name field: the full path of the current variable. Typing the path of
// an existing variable selects it in the visible view; a path that does not
// exist yet can be added with "Добавить" (where the view allows it). The list
// of the field offers the children of the folder typed so far, one level at a
// time, and the field copies the name to the clipboard in the formats the
// translators' templates use.

#include "editor/uTypes.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace lx::editor {

/// The clipboard formats of a variable name (the main window's choice).
enum class TNameFormat { Standard = 0, HTML = 1, PHP = 2 };

/// The name in a clipboard format: names under the root folder LANG become
/// "{REST}" (HTML) or "$lang->items['REST']" (PHP); anything else stays as is.
std::string FormatVarName(const std::string& name, TNameFormat format);

class TfrVarNameEditor : public QWidget, public IVarNameEditor {
    Q_OBJECT
public:
    explicit TfrVarNameEditor(QWidget* parent = nullptr);

    /// The view the field works with (may be null); a new one gives the field
    /// its selected variable.
    void SetBrowser(IBrowserCtrl* browser);
    std::string GetVarName() override;
    void SetVarName(const std::string& name) override;

    /// Copies the field's name in `format`, when `always` is set or the field
    /// has the focus. Returns whether it copied.
    bool CopyNameToClipboard(TNameFormat format, bool always);
    /// Puts the focus into the name field.
    void FocusName();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    /// The status and the note follow the interface language.
    void changeEvent(QEvent* event) override;

private:
    void UpdateStatus();
    void TextChanged();
    void AddClick();
    void FillSuggestions();
    void OpenSuggestions();
    bool IsNewName(const std::string& name);

    IBrowserCtrl* FBrowser = nullptr;
    QLabel* FStatus;
    QLabel* FNote;
    QPushButton* FAdd;
    QComboBox* FName;
};

} // namespace lx::editor
