#include "uHostUI.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace lx::host {

namespace {
IHostUI* gInstalled = nullptr;
}

TMsgResult TQtHostUI::Ask(TMsgKind kind, const QString& text, TMsgButtons buttons) {
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (kind) {
    case TMsgKind::Warning:
        icon = QMessageBox::Warning;
        break;
    case TMsgKind::Error:
        icon = QMessageBox::Critical;
        break;
    case TMsgKind::Confirmation:
        icon = QMessageBox::Question;
        break;
    case TMsgKind::Information:
        break;
    }
    QMessageBox::StandardButtons set = QMessageBox::Ok;
    switch (buttons) {
    case TMsgButtons::OK:
        break;
    case TMsgButtons::YesNo:
        set = QMessageBox::Yes | QMessageBox::No;
        break;
    case TMsgButtons::YesNoCancel:
        set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    case TMsgButtons::AbortRetryIgnore:
        set = QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
        break;
    case TMsgButtons::CancelRetryIgnore:
        set = QMessageBox::Cancel | QMessageBox::Retry | QMessageBox::Ignore;
        break;
    case TMsgButtons::OkCancel:
        set = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(icon, QApplication::applicationDisplayName(), text, set,
                    QApplication::activeWindow());
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return TMsgResult::Cancel;
    case QMessageBox::Yes:
        return TMsgResult::Yes;
    case QMessageBox::No:
        return TMsgResult::No;
    case QMessageBox::Abort:
        return TMsgResult::Abort;
    case QMessageBox::Retry:
        return TMsgResult::Retry;
    case QMessageBox::Ignore:
        return TMsgResult::Ignore;
    default:
        return TMsgResult::Ok;
    }
}

bool TQtHostUI::InputBox(const QString& caption, const QString& prompt, QString& value) {
    bool ok = false;
    const QString v = QInputDialog::getText(QApplication::activeWindow(), caption, prompt,
                                            QLineEdit::Normal, value, &ok);
    if (ok)
        value = v;
    return ok;
}

bool IHostUI::SelectFolder(const QString&, QString&) {
    return false;
}

bool IHostUI::SelectFile(const QString&, QString&) {
    return false;
}

bool TQtHostUI::SelectFolder(const QString& caption, QString& folder) {
    const QString chosen =
        QFileDialog::getExistingDirectory(QApplication::activeWindow(), caption, folder);
    if (chosen.isEmpty())
        return false;
    folder = chosen;
    return true;
}

bool TQtHostUI::SelectFile(const QString& caption, QString& file) {
    const QString chosen =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, file);
    if (chosen.isEmpty())
        return false;
    file = chosen;
    return true;
}

IHostUI& HostUI() {
    static TQtHostUI qtUI;
    return gInstalled ? *gInstalled : qtUI;
}

IHostUI* SetHostUI(IHostUI* ui) {
    IHostUI* old = gInstalled;
    gInstalled = ui;
    return old;
}

} // namespace lx::host
