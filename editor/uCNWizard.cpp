#include "uCNWizard.h"

#include "engine/uIni.h"
#include "platform/Files.h"
#include "runtime/host/uHostUI.h"
#include "runtime/uLexivane.h"
#include "runtime/uResourceString.h"
#include "uCNWizardThread.h"
#include "uVars.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace lx::editor {

LX_RESOURCESTRING(sCNWizardCaption, "Мастер изменения имен переменных");
LX_RESOURCESTRING(sOldNameHeader, "Старое имя");
LX_RESOURCESTRING(sNewNameHeader, "Новое имя");
LX_RESOURCESTRING(sChooseTemplateFolder, "Укажите папку с файлами:");
LX_RESOURCESTRING(sScanFinished, "Сканирование завершено.");
LX_RESOURCESTRING(sScanStopped,
                  "Сканирование остановлено: файл [%s] не удалось изменить. Файлы после него "
                  "не просмотрены.");

namespace {
const char* const kFolderKey = "TfCNWizard.edtWorkFolder.Text";
const char* const kMasksKey = "TfCNWizard.edtFilesMasks.Text";
} // namespace

TfCNWizard::TfCNWizard(const TVarNames& pairs, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fCNWizard"));
    setWindowTitle(sCNWizardCaption());
    setFixedSize(602, 353);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    // The explanation on a white strip, in two lines.
    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("pnlInfo"));
    strip->setAutoFillBackground(true);
    strip->setStyleSheet(QStringLiteral("background: white;"));
    auto* stripLines = new QVBoxLayout(strip);
    for (const auto& [name, text] :
         {std::pair{"lblInfo1",
                    "   Используйте этот мастер для изменения име переменных хранящихся "},
          std::pair{"lblInfo2", "непосредственно в файлах."}}) {
        auto* line = new QLabel(QString::fromUtf8(text), strip);
        line->setObjectName(QString::fromLatin1(name));
        stripLines->addWidget(line);
    }
    layout->addWidget(strip);

    auto* body = new QGridLayout;
    body->setContentsMargins(8, 0, 8, 0);
    layout->addLayout(body, 1);
    FGrid = new QTableWidget(static_cast<int>(pairs.size()), 2, this);
    FGrid->setObjectName(QStringLiteral("ValueListEditor"));
    FGrid->setHorizontalHeaderLabels({sOldNameHeader(), sNewNameHeader()});
    FGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    FGrid->verticalHeader()->hide();
    for (std::size_t r = 0; r < pairs.size(); ++r) {
        FGrid->setItem(static_cast<int>(r), 0,
                       new QTableWidgetItem(QString::fromStdString(pairs[r].FromName)));
        FGrid->setItem(static_cast<int>(r), 1,
                       new QTableWidgetItem(QString::fromStdString(pairs[r].ToName)));
    }
    FGrid->setEnabled(false);
    body->addWidget(FGrid, 0, 0, 1, 3);

    auto* folderLabel = new QLabel(QString::fromUtf8("Папка с фалами:"), this);
    folderLabel->setObjectName(QStringLiteral("lblWorkFolder"));
    body->addWidget(folderLabel, 1, 0);
    FFolder = new QLineEdit(this);
    FFolder->setObjectName(QStringLiteral("edtWorkFolder"));
    body->addWidget(FFolder, 1, 1);
    FBrowse = new QToolButton(this);
    FBrowse->setObjectName(QStringLiteral("sbtnBrowse"));
    FBrowse->setText(QStringLiteral("..."));
    body->addWidget(FBrowse, 1, 2);
    auto* masksLabel = new QLabel(QString::fromUtf8("Расширения файлов"), this);
    masksLabel->setObjectName(QStringLiteral("lblFilesMasks"));
    body->addWidget(masksLabel, 2, 0);
    FMasks = new QLineEdit(this);
    FMasks->setObjectName(QStringLiteral("edtFilesMasks"));
    body->addWidget(FMasks, 2, 1, 1, 2);
    FDropPrefix =
        new QCheckBox(QString::fromUtf8("Не использовать корневой предлог (LANG_)"), this);
    FDropPrefix->setObjectName(QStringLiteral("CheckBox1"));
    FDropPrefix->setChecked(true);
    body->addWidget(FDropPrefix, 3, 0, 1, 3);
    FProgress = new QProgressBar(this);
    FProgress->setObjectName(QStringLiteral("ProgressBar"));
    FProgress->setValue(0);
    FProgress->hide();
    body->addWidget(FProgress, 4, 0, 1, 3);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(8, 0, 8, 0);
    buttons->addStretch();
    FScan = new QPushButton(QString::fromUtf8("Сканировать"), this);
    FScan->setObjectName(QStringLiteral("btnScan"));
    FScan->setDefault(true);
    FCancel = new QPushButton(QString::fromUtf8("Отмена"), this);
    FCancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(FScan);
    buttons->addWidget(FCancel);
    layout->addLayout(buttons);
    connect(FScan, &QPushButton::clicked, this, &TfCNWizard::Scan);
    connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FBrowse, &QToolButton::clicked, this, &TfCNWizard::Browse);

    const std::string ini = MainIniFileName();
    FFolder->setText(QString::fromStdString(ReadStr("settings", kFolderKey, "", ini)));
    FMasks->setText(QString::fromStdString(ReadStr("settings", kMasksKey, "php;html", ini)));
    auto* lx = new TLXForm(this); // the dialog's texts in the editor's language
    lx->setObjectName(QStringLiteral("lxForm"));
}

TfCNWizard::~TfCNWizard() {
    // Only a dialog destroyed without closing (its owner went first) can get here mid-scan.
    if (FThread) {
        FThread->disconnect(this);
        FThread->wait();
    }
}

TVarNames TfCNWizard::GridPairs() const {
    TVarNames pairs;
    for (int r = 0; r < FGrid->rowCount(); ++r) {
        const QTableWidgetItem* from = FGrid->item(r, 0);
        const QTableWidgetItem* to = FGrid->item(r, 1);
        if (!from || from->text().isEmpty())
            continue;
        pairs.push_back({from->text().toStdString(), to ? to->text().toStdString() : ""});
    }
    return pairs;
}

void TfCNWizard::Browse() {
    QString folder = QDir::currentPath();
    if (!QDir(folder).exists())
        folder.clear();
    if (!host::HostUI().SelectFolder(sChooseTemplateFolder(), folder))
        return;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    FFolder->setText(folder);
}

void TfCNWizard::SetIdle(bool idle) {
    for (QWidget* w : std::initializer_list<QWidget*>{FScan, FCancel, FFolder, FBrowse, FMasks,
                                                      FGrid, FDropPrefix})
        w->setEnabled(idle);
    FProgress->setVisible(!idle);
}

void TfCNWizard::Scan() {
    if (FThread)
        return;
    std::string field = FMasks->text().toStdString();
    const std::vector<std::string> masks = ParseMasks(field);
    FMasks->setText(QString::fromStdString(field));
    SetIdle(false);
    FProgress->setRange(0, 1);
    FProgress->setValue(0);
    // Unticking the box keeps the "LANG_" prefix in the names looked for.
    FThread = std::make_unique<TCNWizardThread>(GridPairs(), FFolder->text().toStdString(), masks,
                                                !FDropPrefix->isChecked());
    connect(FThread.get(), &TCNWizardThread::Progress, this, [this](int done, int total) {
        FProgress->setMaximum(total);
        FProgress->setValue(done);
    });
    connect(FThread.get(), &TCNWizardThread::ScanEnded, this, &TfCNWizard::Finish);
    FThread->start();
}

void TfCNWizard::Finish(const QString& stoppedAt) {
    FThread->wait(); // its last signal came: the worker is ending
    FThread.reset();
    SetIdle(true);
    if (stoppedAt.isEmpty())
        host::HostUI().ShowMessage(sScanFinished());
    else
        host::HostUI().ShowError(FillText(sScanStopped(), {stoppedAt.toStdString()}));
    emit ScanFinished();
}

void TfCNWizard::done(int result) {
    if (FThread)
        return;
    const std::string ini = MainIniFileName();
    WriteStr("settings", kFolderKey, FFolder->text().toStdString(), ini);
    WriteStr("settings", kMasksKey, FMasks->text().toStdString(), ini);
    QDialog::done(result);
}

void ShowRenameWizard(const TVarNames& pairs) {
    TfCNWizard dialog(pairs);
    dialog.exec();
}

} // namespace lx::editor
