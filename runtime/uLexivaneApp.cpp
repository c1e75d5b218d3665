// TXMLApp, TXMLIDEApp: pack folder, packs, current pack, languages menu.
#include "uLexivane.h"

#include "engine/uFindStrUtilsPro.h"
#include "host/uHost.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Locales.h"
#include "platform/Paths.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace lx {

namespace {

// The name with its extension replaced by ".lng", upper-cased.
std::string PackNameOf(const std::string& value) {
    std::string name = platform::ToNativeSeparators(value);
    const auto slash = name.find_last_of('/');
    if (slash != std::string::npos)
        name = name.substr(slash + 1);
    const auto dot = name.find_last_of('.');
    if (dot != std::string::npos)
        name.resize(dot);
    return platform::UpperCaseAscii(name + ".lng");
}

} // namespace

TXMLApp::TXMLApp(QWidget* parent) : TLXComponent(parent), FLanguages(new QObject(this)) {
    if (!IsDesigning())
        return;
    TXMLAppServer& server = XMLAppServer();
    std::string unit;
    const std::string myUnit = DesignServices().GetUnitFileName(this);
    if (server.XMLAppExistsInProject(unit) && !server.App() &&
        !platform::SameTextAscii(unit, myUnit) && DesignServices().GetModuleOwn(unit) == 0)
        throw ELXError(rsXMLAppExists);
    RefreshPacks();
    server.SetApp(this);
    if (!platform::SameTextAscii(unit, myUnit))
        WriteEmbeddedData(false, false);
}

TXMLApp::~TXMLApp() {
    if (TXMLAppServer* s = XMLAppServerIfAlive())
        if (s->App() == this)
            s->SetApp(nullptr);
}

void TXMLApp::WriteEmbeddedData(bool forceWrite, bool fullPath) {
    XMLAppServer().WriteResData(true, FForcedUseXMLApp, forceWrite,
                                DesignServices().GetUnitFileName(this), FPackFolder,
                                fullPath ? GetCurrentPackPath() : GetCurrentPack());
}

void TXMLApp::SetForcedUseXMLApp(bool value) {
    if (value == FForcedUseXMLApp)
        return;
    FForcedUseXMLApp = value;
    if (!IsLoading())
        WriteEmbeddedData(true, false);
}

void TXMLApp::SetPackFolder(const std::string& value) {
    FPackFolder = value.empty() ? std::string("\\") : value;
    RefreshPacks();
    if (!IsLoading() && !IsReading())
        WriteEmbeddedData(false, true);
}

std::string TXMLApp::GetCompletePackFolder() const {
    return ResolvePackFolder(FPackFolder);
}

void TXMLApp::RefreshPacks() {
    FPacks.clear();
    if (FPackFolder.empty())
        return;
    FPacks = platform::ListFilesWithExtension(GetCompletePackFolder(), ".lng");
}

std::string TXMLApp::GetPack(int index) const {
    if (index < 0 || index >= GetPacksCount())
        return {};
    return FPacks[static_cast<std::size_t>(index)];
}

std::string TXMLApp::GetPackPath(int index) const {
    const std::string pack = GetPack(index);
    return pack.empty() ? std::string() : GetCompletePackFolder() + pack;
}

// On a file system that tells letter cases apart, the folder's own spelling
// is the one that opens the file.
std::string TXMLApp::GetCurrentPack() const {
    if (FPacks.empty())
        return {};
    for (const auto& p : FPacks)
        if (platform::SameTextAscii(p, FCurrentPackName))
            return p;
    return FPacks.front();
}

std::string TXMLApp::GetCurrentPackPath() const {
    const std::string pack = GetCurrentPack();
    return pack.empty() ? std::string() : GetCompletePackFolder() + pack;
}

bool TXMLApp::SetCurrentPack(const std::string& value) {
    const std::string name = PackNameOf(value);
    if (IsLoading()) {
        FCurrentPackName = name;
        return false;
    }
    RefreshPacks();
    std::string spelling;
    for (const auto& p : FPacks)
        if (platform::SameTextAscii(p, name))
            spelling = p;
    if (!spelling.empty() && platform::SameTextAscii(spelling, FCurrentPackName) &&
        GetCurrentPack() == spelling)
        return false;
    FCurrentPackName = name;
    WriteEmbeddedData(true, false);
    if (GetActive() && !IsDesigning())
        LoadLanguage();
    if (IsDesigning())
        XMLAppServer().UpdatePreviewedForms(FForcedUseXMLApp);
    return true;
}

std::string TXMLApp::PackDisplayName(const std::string& fileName) {
    if (!platform::FileExists(fileName))
        return {};
    std::string name;
    try {
        TXMLTreeItem tree;
        tree.OpenFromFile(fileName);
        if (const unsigned lcid = tree.GetLCID()) {
            name = ReplaceBetween("(", ")", "", platform::EnglishDisplayNameOfLCID(lcid), true);
            const auto b = name.find_first_not_of(' ');
            name = b == std::string::npos ? std::string()
                                          : name.substr(b, name.find_last_not_of(' ') - b + 1);
        }
    } catch (const std::exception&) {
        name.clear(); // a malformed pack is listed under its file name
    }
    if (name.empty()) {
        const auto slash = fileName.find_last_of("/\\");
        name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
    }
    return name;
}

void TXMLApp::LoadLanguage() {
    LoadAndApply(GetCurrentPackPath());
}

bool TXMLApp::ApplyTree(TXMLTreeItem* tree) {
    XMLAppServer().ApplyPackToAll(tree ? tree->GetFileName() : std::string(), FForcedUseXMLApp);
    return true;
}

void TXMLApp::Loaded() {
    RefreshPacks();
    XMLAppServer().SetApp(this);
    DetectLanguage();
    if (IsDesigning()) {
        std::string unit;
        XMLAppServer().XMLAppExistsInProject(unit);
        if (!platform::SameTextAscii(unit, DesignServices().GetUnitFileName(this)))
            WriteEmbeddedData(false, false);
    }
}

// --- TXMLIDEApp --------------------------------------------------------------

TXMLIDEApp::TXMLIDEApp(QWidget* parent) : TXMLApp(parent) {}

void TXMLIDEApp::SetLanguagesMenuItem(QMenu* menu) {
    if (menu == FMenu)
        return;
    if (FMenu && !IsDesigning())
        FMenu->clear();
    FMenu = menu; // a QPointer: a destroyed menu resets it
    if (FMenu && !IsDesigning() && !IsLoading())
        BuildLanguagesMenu();
}

void TXMLIDEApp::BuildLanguagesMenu() {
    if (!FMenu)
        return;
    FMenu->clear();
    for (QActionGroup* g :
         FMenu->findChildren<QActionGroup*>(QString(), Qt::FindDirectChildrenOnly))
        delete g;
    auto* group = new QActionGroup(FMenu);
    group->setExclusive(true);
    const std::string current = GetCurrentPack();
    for (int i = 0; i < GetPacksCount(); ++i) {
        const std::string caption = PackDisplayName(GetPackPath(i));
        if (caption.empty())
            continue;
        auto* item = new QAction(QString::fromStdString(caption), FMenu);
        item->setObjectName(QStringLiteral("mi_lng_%1").arg(i));
        item->setData(i);
        item->setCheckable(true);
        item->setActionGroup(group);
        item->setChecked(platform::SameTextAscii(GetPack(i), current));
        connect(item, &QAction::triggered, this, [this, item] { MenuItemClicked(item); });
        FMenu->addAction(item);
    }
}

void TXMLIDEApp::MenuItemClicked(QAction* item) {
    if (!item->objectName().startsWith(QLatin1String("mi_lng_")))
        return;
    const int tag = item->data().toInt();
    if (tag >= 0 && tag < GetPacksCount())
        SetCurrentPack(Packs()[static_cast<std::size_t>(tag)]);
    item->setChecked(true);
}

void TXMLIDEApp::LoadLanguage() {
    TXMLApp::LoadLanguage();
    FireAppLangChanged();
}

bool TXMLIDEApp::SetCurrentPack(const std::string& value) {
    return TXMLApp::SetCurrentPack(value);
}

void TXMLIDEApp::FireAppLangChanged() {
    const std::string path = GetCurrentPackPath();
    unsigned lcid = 0;
    try {
        if (TXMLTreeItem* tree = XMLAppServer().GetXMLData(path))
            lcid = tree->GetLCID();
    } catch (const std::exception&) {
        lcid = 0;
    }
    std::string name;
    if (lcid) {
        name = ReplaceBetween("(", ")", "", platform::EnglishDisplayNameOfLCID(lcid), true);
        const auto b = name.find_first_not_of(' ');
        name = b == std::string::npos ? std::string()
                                      : name.substr(b, name.find_last_not_of(' ') - b + 1);
    }
    if (OnAppLangChanged)
        OnAppLangChanged(this, lcid, path, name);
    emit AppLangChanged(lcid, QString::fromStdString(path), QString::fromStdString(name));
}

void TXMLIDEApp::DetectLanguage() {
    if (!OnDetectIDELang)
        return;
    int index = -1;
    bool handled = true;
    OnDetectIDELang(this, Packs(), index, handled);
    if (handled && index >= 0 && index < GetPacksCount())
        SetCurrentPack(Packs()[static_cast<std::size_t>(index)]);
}

void TXMLIDEApp::Loaded() {
    if (!FMenu && !FMenuName.isEmpty())
        if (QWidget* w = window())
            FMenu = w->findChild<QMenu*>(FMenuName);
    TXMLApp::Loaded();
    if (!IsDesigning())
        BuildLanguagesMenu();
}

} // namespace lx
