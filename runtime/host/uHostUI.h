#pragma once
// The host UI service: every message box, confirmation, error dialog and input
// box of the toolkit goes through it, so that tests can answer them.

#include <QString>

namespace lx::host {

enum class TMsgKind { Information, Warning, Error, Confirmation };
enum class TMsgButtons { OK, YesNo, YesNoCancel, AbortRetryIgnore, CancelRetryIgnore, OkCancel };
enum class TMsgResult { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

class IHostUI {
public:
    virtual ~IHostUI() = default;
    virtual TMsgResult Ask(TMsgKind kind, const QString& text, TMsgButtons buttons) = 0;
    /// Returns false when the user cancelled; `value` holds the default on entry.
    virtual bool InputBox(const QString& caption, const QString& prompt, QString& value) = 0;
    /// The folder-selection dialog: `folder` holds the starting folder on
    /// entry and the chosen one on return. False when the user cancelled;
    /// a service without dialogs answers so.
    virtual bool SelectFolder(const QString& caption, QString& folder);
    /// The file-open dialog, in the same way as SelectFolder.
    virtual bool SelectFile(const QString& caption, QString& file);

    void ShowMessage(const QString& text) { Ask(TMsgKind::Information, text, TMsgButtons::OK); }
    void ShowError(const QString& text) { Ask(TMsgKind::Error, text, TMsgButtons::OK); }
};

/// Message boxes of Qt Widgets.
class TQtHostUI final : public IHostUI {
public:
    TMsgResult Ask(TMsgKind kind, const QString& text, TMsgButtons buttons) override;
    bool InputBox(const QString& caption, const QString& prompt, QString& value) override;
    bool SelectFolder(const QString& caption, QString& folder) override;
    bool SelectFile(const QString& caption, QString& file) override;
};

/// The service in use: the one installed with SetHostUI, else the Qt one.
IHostUI& HostUI();
/// Installs a service (not owned); null restores the Qt one. Returns the previous one.
IHostUI* SetHostUI(IHostUI* ui);

} // namespace lx::host
