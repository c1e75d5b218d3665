#pragma once
// The FTP connection dialog: the parts of an FTP working-folder address,
// with a connection test.

#include "uFTPAddress.h"

#include <QDialog>

class QLineEdit;

namespace lx::editor {

class TfFTPAccount : public QDialog {
    Q_OBJECT
public:
    explicit TfFTPAccount(const TFTPUserData& account, QWidget* parent = nullptr);
    /// The record of the five fields as they stand.
    TFTPUserData Data() const;

private:
    void TestClick();
    QLineEdit* FHost;
    QLineEdit* FUser;
    QLineEdit* FPassword;
    QLineEdit* FFolder;
    QLineEdit* FPort;
};

/// Shows the dialog filled from `data`; on "Ок" `data` becomes the fields
/// and the result is true.
bool EditFTPAccount(TFTPUserData& data, QWidget* parent = nullptr);

} // namespace lx::editor
