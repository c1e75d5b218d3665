#include "uFTPAccount.h"

#include "runtime/host/uHostUI.h"
#include "runtime/uLexivane.h"
#include "runtime/uResourceString.h"
#include "uRemote.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

namespace lx::editor {

LX_RESOURCESTRING(sConnectionTestOk, "Проверка соединения прошла удачно.");
LX_RESOURCESTRING(sConnectionTestFailed, "Проверка соединения прошла неудачно!");

namespace {

QLineEdit* AddField(QWidget* owner, QFormLayout* form, const char* label, const char* labelName,
                    const char* name, const std::string& value) {
    auto* caption = new QLabel(QString::fromUtf8(label), owner);
    caption->setObjectName(QString::fromLatin1(labelName));
    auto* edit = new QLineEdit(QString::fromStdString(value), owner);
    edit->setObjectName(QString::fromLatin1(name));
    caption->setBuddy(edit);
    form->addRow(caption, edit);
    return edit;
}

} // namespace

TfFTPAccount::TfFTPAccount(const TFTPUserData& account, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fFTPAccount"));
    setWindowTitle(QString::fromUtf8("Настройка FTP соединения"));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    FHost = AddField(this, form, "Имя Сервера:", "lblHost", "edtHost", account.Host);
    FUser = AddField(this, form, "Имя Пользователя:", "lblUser", "edtUser", account.UserName);
    FPassword = AddField(this, form, "Пароль:", "lblPassword", "edtPassword", account.Password);
    FPassword->setEchoMode(QLineEdit::Password);
    FFolder = AddField(this, form, "Папка:", "lblFolder", "edtFolder", account.Folder);
    FPort = AddField(this, form, "Порт:", "lblPort", "edtPort",
                     account.Port.empty() ? std::string("21") : account.Port);
    FPort->setMaxLength(5);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    auto* test = new QPushButton(QString::fromUtf8("Проверка соединения"), this);
    test->setObjectName(QStringLiteral("btnTest"));
    test->setAutoDefault(false);
    connect(test, &QPushButton::clicked, this, &TfFTPAccount::TestClick);
    buttons->addWidget(test);
    buttons->addStretch();
    auto* ok = new QPushButton(QString::fromUtf8("Ок"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(ok);
    auto* cancel = new QPushButton(QString::fromUtf8("Отмена"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(cancel);
    // The address holds the user and password as they are, so a ':' in the
    // user or an '@' or '/' in either would cut it wrongly (and show part of
    // the password): such an account cannot be confirmed or tested.
    auto check = [this, ok, test] {
        const bool usable =
            FUser->text().indexOf(QRegularExpression(QStringLiteral("[:@/]"))) < 0 &&
            FPassword->text().indexOf(QRegularExpression(QStringLiteral("[@/]"))) < 0;
        ok->setEnabled(usable);
        test->setEnabled(usable);
    };
    connect(FUser, &QLineEdit::textChanged, this, check);
    connect(FPassword, &QLineEdit::textChanged, this, check);
    check();
    auto* lx = new TLXForm(this); // the dialog's texts in the editor's language
    lx->setObjectName(QStringLiteral("lxForm"));
}

TFTPUserData TfFTPAccount::Data() const {
    TFTPUserData account;
    account.Host = FHost->text().toStdString();
    account.UserName = FUser->text().toStdString();
    account.Password = FPassword->text().toStdString();
    account.Folder = FFolder->text().toStdString();
    account.Port = FPort->text().toStdString();
    return account;
}

void TfFTPAccount::TestClick() {
    // The result only: the error's details could name what was typed.
    host::HostUI().ShowMessage(TestConnection(Data()) ? sConnectionTestOk()
                                                      : sConnectionTestFailed());
}

bool EditFTPAccount(TFTPUserData& data, QWidget* parent) {
    TfFTPAccount dialog(data, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    data = dialog.Data();
    return true;
}

} // namespace lx::editor
