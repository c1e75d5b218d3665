#pragma once
// The demo's main window (form fMain): customer records with a menu bar, a
// tool bar, tabs with a file list, a customer group with two address
// sub-forms, and a Language menu that the application component fills.

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
    /// A text of the program's own code in the current language: the item
    /// Messages.<name> of the current pack, else the English text given here.
    QString Message(const char* name, const char* english) const;

private:
    void OpenFile();
    void ApplyCustomer();
    void ClearCustomer();
    void ShowAbout();
    void LanguageChanged(const std::string& packFileName);

    std::unique_ptr<Ui::fMain> ui;
    QPointer<OptionsDialog> FOptions;
};
