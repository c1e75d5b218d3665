#include "uOptions.h"

#include "engine/uEngine.h"
#include "platform/Files.h"
#include "platform/Locales.h"
#include "runtime/host/uHostUI.h"
#include "runtime/uLexivane.h"
#include "runtime/uResourceString.h"
#include "uLangPackOptions.h"
#include "uTypes.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <filesystem>

namespace lx::editor {

LX_RESOURCESTRING(sOptionsCaption, "Настройки");
LX_RESOURCESTRING(sBytesUnit, "B");
LX_RESOURCESTRING(sChooseHostApp, "Host application");

namespace {

std::string FolderOf(const std::string& file) {
    const auto slash = file.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : file.substr(0, slash + 1);
}

} // namespace

TfOptions::TfOptions(ILangPack* packs, int page, QWidget* parent) : QDialog(parent), FPacks(packs) {
    setObjectName(QStringLiteral("fOptions"));
    setWindowTitle(sOptionsCaption());
    auto* layout = new QVBoxLayout(this);
    FPages = new QTabWidget(this);
    FPages->setObjectName(QStringLiteral("pcOptions"));
    layout->addWidget(FPages, 1);

    // Project
    auto* project = new QWidget(FPages);
    project->setObjectName(QStringLiteral("tsProject"));
    auto* projectLayout = new QVBoxLayout(project);
    auto* projectGroup = new QGroupBox(QStringLiteral("Project settings:"), project);
    projectGroup->setObjectName(QStringLiteral("gbxProject"));
    auto* facts = new QFormLayout(projectGroup);
    FProjectDir = new QLineEdit(projectGroup);
    FProjectDir->setObjectName(QStringLiteral("edtProjectDir"));
    FProjectDir->setReadOnly(true);
    FLangCount = new QLabel(projectGroup);
    FLangCount->setObjectName(QStringLiteral("lblLangCountValue"));
    FPackSize = new QLabel(projectGroup);
    FPackSize->setObjectName(QStringLiteral("lblPackSizeValue"));
    auto label = [&](const char* name, const char* text) {
        auto* l = new QLabel(QString::fromUtf8(text), projectGroup);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    facts->addRow(label("lblProjectDir", "Project directory:"), FProjectDir);
    facts->addRow(label("lblLangCount", "Languages count:"), FLangCount);
    facts->addRow(label("lblPackSize", "Package size:"), FPackSize);
    projectLayout->addWidget(projectGroup);
    projectLayout->addStretch();
    FPages->addTab(project, QStringLiteral("Project"));

    // Packages
    auto* packages = new QWidget(FPages);
    packages->setObjectName(QStringLiteral("tsPackages"));
    auto* packagesLayout = new QVBoxLayout(packages);
    auto* packsGroup = new QGroupBox(QStringLiteral("Language packages"), packages);
    packsGroup->setObjectName(QStringLiteral("gbxPackages"));
    auto* packsLayout = new QHBoxLayout(packsGroup);
    FList = new QTreeWidget(packsGroup);
    FList->setObjectName(QStringLiteral("clbPacks"));
    FList->setColumnCount(2);
    FList->setHeaderLabels({QStringLiteral("Pack Name"), QStringLiteral("Pack Language")});
    FList->setRootIsDecorated(false);
    // A name longer than its column is cut at the column's edge.
    FList->setTextElideMode(Qt::ElideNone);
    FList->header()->setStretchLastSection(false);
    FList->header()->resizeSection(0, 100);
    FList->header()->resizeSection(1, 500);
    packsLayout->addWidget(FList, 1);
    auto* packButtons = new QVBoxLayout;
    FAdd = new QPushButton(QStringLiteral("&Add..."), packsGroup);
    FAdd->setObjectName(QStringLiteral("btnAdd"));
    FEdit = new QPushButton(QStringLiteral("&Edit..."), packsGroup);
    FEdit->setObjectName(QStringLiteral("btnEdit"));
    FRemove = new QPushButton(QStringLiteral("&Remove"), packsGroup);
    FRemove->setObjectName(QStringLiteral("btnRemove"));
    for (QPushButton* b : {FAdd, FEdit, FRemove})
        packButtons->addWidget(b);
    packButtons->addStretch();
    packsLayout->addLayout(packButtons);
    packagesLayout->addWidget(packsGroup);
    FPages->addTab(packages, QStringLiteral("Packages"));

    // Integration: the choices are offered but nothing keeps or uses them yet.
    auto* integration = new QWidget(FPages);
    integration->setObjectName(QStringLiteral("tsIntegration"));
    auto* integrationLayout = new QVBoxLayout(integration);
    FIntegrate = new QCheckBox(QStringLiteral("Integrate with Delphi"), integration);
    FIntegrate->setObjectName(QStringLiteral("chkIntegrate"));
    integrationLayout->addWidget(FIntegrate);
    FHostLabel = new QLabel(QStringLiteral("Host application:"), integration);
    FHostLabel->setObjectName(QStringLiteral("lblHostApp"));
    integrationLayout->addWidget(FHostLabel);
    auto* hostRow = new QHBoxLayout;
    FHostApp = new QLineEdit(integration);
    FHostApp->setObjectName(QStringLiteral("edtHostApp"));
    FBrowse = new QPushButton(QStringLiteral("Browse..."), integration);
    FBrowse->setObjectName(QStringLiteral("btnBrowse"));
    hostRow->addWidget(FHostApp, 1);
    hostRow->addWidget(FBrowse);
    integrationLayout->addLayout(hostRow);
    integrationLayout->addStretch();
    FPages->addTab(integration, QStringLiteral("Integration"));
    auto integrate = [this](bool on) {
        for (QWidget* w : std::initializer_list<QWidget*>{FHostLabel, FHostApp, FBrowse})
            w->setEnabled(on);
    };
    integrate(false);
    connect(FIntegrate, &QCheckBox::toggled, this, integrate);
    connect(FBrowse, &QPushButton::clicked, this, [this] {
        QString file = FHostApp->text();
        if (host::HostUI().SelectFile(sChooseHostApp(), file))
            FHostApp->setText(file);
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    connect(FList, &QTreeWidget::itemSelectionChanged, this, &TfOptions::UpdateButtons);
    connect(FList, &QTreeWidget::itemClicked, this, &TfOptions::UpdateButtons);
    connect(FPages, &QTabWidget::currentChanged, this, &TfOptions::UpdateButtons);
    connect(FAdd, &QPushButton::clicked, this, &TfOptions::AddPack);
    connect(FEdit, &QPushButton::clicked, this, &TfOptions::EditPack);
    connect(FRemove, &QPushButton::clicked, this, &TfOptions::RemovePack);

    FillProject();
    FillPacks();
    if (page >= 0 && page < FPages->count()) {
        FPages->setCurrentIndex(page);
        for (int i = 0; i < FPages->count(); ++i)
            FPages->setTabEnabled(i, i == page);
    } else {
        FPages->setCurrentIndex(0);
    }
    UpdateButtons();
    auto* lx = new TLXForm(this); // the dialog's texts in the editor's language
    lx->setObjectName(QStringLiteral("lxForm"));
}

std::string TfOptions::ProjectFolder(ILangPack* packs) {
    for (int i = 0; packs && i < packs->GetPackCount(); ++i)
        if (TXMLTreeItem* p = packs->GetPack(i); p && !p->GetFileName().empty())
            return FolderOf(p->GetFileName());
    return {};
}

unsigned long long TfOptions::PackageSize(const std::string& folder) {
    unsigned long long total = 0;
    if (folder.empty())
        return total;
    std::error_code ec;
    for (const std::string& name : platform::ListFilesWithExtension(folder, ".lng")) {
        const auto size = std::filesystem::file_size(std::filesystem::path(folder) / name, ec);
        if (!ec)
            total += size;
    }
    return total;
}

void TfOptions::FillProject() {
    const std::string folder = ProjectFolder(FPacks);
    FProjectDir->setText(QString::fromStdString(folder));
    FLangCount->setText(QString::number(FPacks ? FPacks->GetPackCount() : 0));
    FPackSize->setText(QString::number(PackageSize(folder)) + QLatin1Char(' ') + sBytesUnit());
}

void TfOptions::FillPacks() {
    FList->clear();
    for (int i = 0; FPacks && i < FPacks->GetPackCount(); ++i) {
        TXMLTreeItem* p = FPacks->GetPack(i);
        auto* item = new QTreeWidgetItem(FList);
        item->setText(0, QString::fromStdString(ExtractFilePackName_(p->GetFileName())));
        item->setText(1, QString::fromStdString(platform::EnglishDisplayNameOfLCID(p->GetLCID())));
        item->setData(0, Qt::UserRole, i);
    }
    UpdateButtons();
}

void TfOptions::UpdateButtons() {
    const bool selected = FList->currentItem() && FList->currentItem()->isSelected();
    FEdit->setEnabled(selected);
    FRemove->setEnabled(selected);
}

void TfOptions::AddPack() {
    std::string name;
    unsigned lcid = 0;
    int encoding = 0;
    if (!FPacks || !NewPackOptions(FPacks->GetPackNames(false), name, lcid, encoding, this))
        return;
    TXMLTreeItem* pack = FPacks->AddPack(name);
    if (!pack)
        return; // the set said why
    pack->SetLCID(lcid);
    pack->SetEncoding(static_cast<TPackEncoding>(encoding));
    FillPacks();
    FillProject();
}

void TfOptions::EditPack() {
    QTreeWidgetItem* item = FList->currentItem();
    TXMLTreeItem* pack =
        item && FPacks ? FPacks->GetPack(item->data(0, Qt::UserRole).toInt()) : nullptr;
    if (!pack)
        return;
    std::string name = ExtractFilePackName_(pack->GetFileName());
    unsigned lcid = pack->GetLCID();
    int encoding = static_cast<int>(pack->GetEncoding());
    if (!EditPackOptions(name, lcid, encoding, this))
        return;
    pack->SetLCID(lcid);
    pack->SetEncoding(static_cast<TPackEncoding>(encoding));
    pack->SetTreeModified(true);
    item->setText(1, QString::fromStdString(platform::EnglishDisplayNameOfLCID(lcid)));
}

void TfOptions::RemovePack() {
    QTreeWidgetItem* item = FList->currentItem();
    if (!item || !FPacks)
        return;
    FPacks->DeletePack(item->data(0, Qt::UserRole).toInt());
    FillPacks(); // the packs that remain, with their current indices
    FillProject();
}

bool ShowOptions(ILangPack* packs, int page, QWidget* parent) {
    TfOptions dialog(packs, page, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace lx::editor
