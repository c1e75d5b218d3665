#include "MainWindow.h"

#include "AddressFrame.h"
#include "DemoSettings.h"
#include "OptionsDialog.h"
#include "runtime/uLexivane.h"
#include "ui_fMain.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QStatusBar>
#include <QTreeWidgetItem>

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::fMain>()) {
    ui->setupUi(this);
    // The language chosen last, if its pack is still there. The component is
    // still loading, so it only stores the name; every form applies the pack
    // when it is first shown.
    lx::TLXApp* app = ui->lxApp;
    const QString chosen = QString::fromStdString(demo::ReadChosenPack());
    for (const std::string& pack : app->Packs())
        if (!chosen.isEmpty() &&
            QString::fromStdString(pack).compare(chosen, Qt::CaseInsensitive) == 0)
            app->SetCurrentPack(pack);
    app->OnAppLangChanged = [this](lx::TXMLIDEApp*, unsigned, const std::string& fileName,
                                   const std::string&) { LanguageChanged(fileName); };

    connect(ui->actOpen, &QAction::triggered, this, &MainWindow::OpenFile);
    connect(ui->actSave, &QAction::triggered, this,
            [this] { statusBar()->showMessage(Message("Saved", "Changes saved"), 5000); });
    connect(ui->actExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->actToolBar, &QAction::toggled, ui->toolBar, &QWidget::setVisible);
    connect(ui->toolBar, &QToolBar::visibilityChanged, ui->actToolBar, &QAction::setChecked);
    connect(ui->actOptions, &QAction::triggered, this, &MainWindow::ShowOptions);
    connect(ui->actAbout, &QAction::triggered, this, &MainWindow::ShowAbout);
    connect(ui->btnApply, &QPushButton::clicked, this, &MainWindow::ApplyCustomer);
    connect(ui->btnClear, &QPushButton::clicked, this, &MainWindow::ClearCustomer);

    statusBar()->showMessage(Message("Ready", "Ready"));
}

MainWindow::~MainWindow() = default;

lx::TLXApp* MainWindow::LanguageApp() const {
    return ui->lxApp;
}

OptionsDialog* MainWindow::ShowOptions() {
    if (!FOptions)
        FOptions = new OptionsDialog(this);
    FOptions->show();
    FOptions->raise();
    FOptions->activateWindow();
    return FOptions;
}

QString MainWindow::Message(const char* name, const char* english) const {
    const std::string path = ui->lxApp->GetCurrentPackPath();
    try {
        if (lx::TXMLTreeItem* pack = path.empty() ? nullptr : lx::XMLAppServer().GetXMLData(path)) {
            const std::u16string text = pack->GetItemValue_(std::string("Messages.") + name);
            if (!text.empty())
                return QString::fromStdU16String(text);
        }
    } catch (const std::exception&) {
        // A pack that cannot be read: the program's own text.
    }
    return QString::fromUtf8(english);
}

void MainWindow::OpenFile() {
    const QString file = QFileDialog::getOpenFileName(
        this, Message("OpenTitle", "Open a customer file"), QString(),
        Message("FileFilter", "Customer files (*.cst);;All files (*)"));
    if (file.isEmpty())
        return;
    const QFileInfo info(file);
    auto* row = new QTreeWidgetItem(ui->treeFiles);
    row->setText(0, info.fileName());
    row->setText(1, QLocale().formattedDataSize(info.size()));
    row->setText(2, info.lastModified().date().toString(Qt::ISODate));
    statusBar()->showMessage(Message("Opened", "Opened %1").arg(info.fileName()), 5000);
}

void MainWindow::ApplyCustomer() {
    const QString name = ui->edtName->text().trimmed();
    if (name.isEmpty())
        statusBar()->showMessage(Message("NoName", "Enter the customer's name first"), 5000);
    else
        statusBar()->showMessage(Message("Applied", "Customer \"%1\" stored").arg(name), 5000);
}

void MainWindow::ClearCustomer() {
    ui->edtName->clear();
    ui->cbxKind->setCurrentIndex(0);
    ui->addrHome->Clear();
    ui->addrWork->Clear();
}

void MainWindow::ShowAbout() {
    QMessageBox::about(this, Message("AboutTitle", "About Glotrix demo"),
                       Message("AboutText", "Glotrix demo: a Qt Widgets program that changes its "
                                            "language while it runs."));
}

// Runs after every open form took the new pack.
void MainWindow::LanguageChanged(const std::string& packFileName) {
    demo::WriteChosenPack(packFileName);
    statusBar()->showMessage(Message("LanguageChanged", "Texts are now in English"));
}
