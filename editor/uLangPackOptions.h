#pragma once
// The pack options dialog: base language, name and encoding of one pack,
// when a pack is added (the name may be typed or taken from the language)
// and when it is edited (the name stays).

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace lx::editor {

class TfLangPackOptions : public QDialog {
    Q_OBJECT
public:
    /// In add mode `existing` names the packs a new name may not repeat.
    TfLangPackOptions(bool addMode, const std::string& name, unsigned lcid, int encoding,
                      std::vector<std::string> existing, QWidget* parent = nullptr);

    std::string PackName() const;
    /// The selected locale's identifier, 0 when none is selected.
    unsigned Lcid() const;
    /// 0 ANSI, 1 UTF8, 2 HTML.
    int Encoding() const;

    /// A name that can be a pack's file name: not empty, no path or
    /// wildcard characters, no control characters, not "." or "..".
    static bool ValidPackName(const std::string& name);
    /// The text a locale entry shows at its right: "$" and four hex digits.
    static QString IdentifierText(unsigned lcid);
    /// Item data role of a locale entry's identifier text.
    static constexpr int IdentifierRole = Qt::UserRole + 1;

private:
    void LanguageChanged();
    void CheckName();
    bool FAddMode;
    std::vector<std::string> FExisting;
    QComboBox* FLanguage;
    QLineEdit* FName;
    QLabel* FExists;
    QLabel* FInvalid;
    QCheckBox* FUseISO3;
    QComboBox* FEncoding;
    QPushButton* FOk;
};

/// The dialog in add mode; on OK the name, identifier and encoding chosen.
bool NewPackOptions(const std::vector<std::string>& existing, std::string& name, unsigned& lcid,
                    int& encoding, QWidget* parent = nullptr);
/// The dialog in edit mode for one pack (in/out).
bool EditPackOptions(std::string& name, unsigned& lcid, int& encoding, QWidget* parent = nullptr);

} // namespace lx::editor
