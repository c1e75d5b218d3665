#pragma once
// The demo's main window (form fMain): customer records with a menu bar, a
// tool bar, tabs with a file list, a customer group with two address
// sub-forms, and a Language menu that the application component fills. The
// texts it builds in code are resource strings (DemoTexts.h), translated by
// the window's resource-string component.

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <memory>
#include <string>

namespace Ui {
class fMain;
}
namespace lx {
class TLXApp;
}
class OptionsDialog;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    /// The application component: pack folder, current pack, languages menu.
    lx::TLXApp* LanguageApp() const;
    /// Shows the options dialog (made on first use) without blocking the window.
    OptionsDialog* ShowOptions();
    /// Lists a customer file and names it in the window title.
    void AddCustomerFile(const QString& fileName);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OpenFile();
    void UpdateTitle();
    void ApplyCustomer();
    void ClearCustomer();
    void ShowAbout();
    void LanguageChanged(const std::string& packFileName);

    std::unique_ptr<Ui::fMain> ui;
    QPointer<OptionsDialog> FOptions;
    QString FCustomerFile; // the one added last, named in the title
    bool FShown = false;
};
