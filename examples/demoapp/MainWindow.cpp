#include "MainWindow.h"

#include "AddressFrame.h"
#include "DemoSettings.h"
#include "DemoTexts.h"
#include "OptionsDialog.h"
#include "runtime/uLexivane.h"
#include "ui_fMain.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QShowEvent>
#include <QStatusBar>
#include <QTreeWidgetItem>

using namespace demo;

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent), ui(std::make_unique<Ui::fMain>()) {
    ui->setupUi(this);
    // The texts of DemoTexts.h in the current language, while the window
    // exists. Its repository stays empty, so the packs hold each text under
    // its string-table identifier. Like the form components it applies the
    // pack when the window is first shown and again on every change of
    // language.
    auto* resourceStrings = new lx::TLXResource(this);
    resourceStrings->setObjectName(QStringLiteral("lxResource"));
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
            [this] { statusBar()->showMessage(sSaved(), 5000); });
    connect(ui->actExit, &QAction::triggered, this, &QWidget::close);
    connect(ui->actToolBar, &QAction::toggled, ui->toolBar, &QWidget::setVisible);
    connect(ui->toolBar, &QToolBar::visibilityChanged, ui->actToolBar, &QAction::setChecked);
    connect(ui->actOptions, &QAction::triggered, this, &MainWindow::ShowOptions);
    connect(ui->actAbout, &QAction::triggered, this, &MainWindow::ShowAbout);
    connect(ui->btnApply, &QPushButton::clicked, this, &MainWindow::ApplyCustomer);
    connect(ui->btnClear, &QPushButton::clicked, this, &MainWindow::ClearCustomer);
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

// The components of the window take the pack as the window is first shown,
// before the window's own show event: the texts built here are in the
// language the program starts in.
void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (FShown)
        return;
    FShown = true;
    UpdateTitle();
    statusBar()->showMessage(sReady());
}

void MainWindow::UpdateTitle() {
    setWindowTitle(FCustomerFile.isEmpty()
                       ? sMainTitle()
                       : sMainTitleFile().arg(QFileInfo(FCustomerFile).fileName()));
}

void MainWindow::OpenFile() {
    const QString file = QFileDialog::getOpenFileName(this, sOpenTitle(), QString(), sFileFilter());
    if (!file.isEmpty())
        AddCustomerFile(file);
}

void MainWindow::AddCustomerFile(const QString& fileName) {
    const QFileInfo info(fileName);
    auto* row = new QTreeWidgetItem(ui->treeFiles);
    row->setText(0, info.fileName());
    row->setText(1, QLocale().formattedDataSize(info.size()));
    row->setText(2, info.lastModified().date().toString(Qt::ISODate));
    FCustomerFile = fileName;
    UpdateTitle();
    statusBar()->showMessage(sOpened().arg(info.fileName()), 5000);
}

void MainWindow::ApplyCustomer() {
    const QString name = ui->edtName->text().trimmed();
    if (name.isEmpty())
        statusBar()->showMessage(sNoName(), 5000);
    else
        statusBar()->showMessage(sApplied().arg(name), 5000);
}

void MainWindow::ClearCustomer() {
    ui->edtName->clear();
    ui->cbxKind->setCurrentIndex(0);
    ui->addrHome->Clear();
    ui->addrWork->Clear();
}

void MainWindow::ShowAbout() {
    QMessageBox::about(this, sAboutTitle(), sAboutText());
}

// Runs after every open form and the resource strings took the new pack. The
// texts built in code before keep what they got; the title and the status
// message are built again.
void MainWindow::LanguageChanged(const std::string& packFileName) {
    WriteChosenPack(packFileName);
    UpdateTitle();
    statusBar()->showMessage(sLanguageChanged());
}
