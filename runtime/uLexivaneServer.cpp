// The application server and the embedded language record.
#include "uLexivane.h"

#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstring>

namespace lx {

namespace {

void PutText(TXMLAppDataBlock& b, std::size_t& pos, const std::string& s) {
    const auto n = static_cast<std::uint32_t>(s.size());
    for (int i = 0; i < 4; ++i)
        b[pos++] = static_cast<std::uint8_t>((n >> (8 * i)) & 0xFF);
    std::memcpy(b.data() + pos, s.data(), s.size());
    pos += s.size();
}

std::string GetText(const TXMLAppDataBlock& b, std::size_t& pos) {
    if (pos + 4 > b.size()) {
        pos = b.size();
        return {};
    }
    std::uint32_t n = 0;
    for (int i = 0; i < 4; ++i)
        n |= static_cast<std::uint32_t>(b[pos++]) << (8 * i);
    const auto len = static_cast<std::int32_t>(n);
    if (len <= 0)
        return {};
    if (static_cast<std::size_t>(len) > b.size() - pos) {
        pos = b.size(); // a length past the record: the record is damaged
        return {};
    }
    std::string s(reinterpret_cast<const char*>(b.data() + pos), static_cast<std::size_t>(len));
    pos += static_cast<std::size_t>(len);
    return s;
}

bool gServerAlive = false;

} // namespace

TXMLAppDataBlock EncodeXMLAppData(const TXMLAppData& data) {
    if (data.CurrentPack.size() + data.PackFolder.size() + data.UnitFileName.size() >
        kXMLAppDataSize - 14)
        throw ELXError(rsXMLAppDataTooLong);
    TXMLAppDataBlock b{};
    b[0] = data.XMLAppExists ? 1 : 0;
    b[1] = data.ForcedUseXMLApp ? 1 : 0;
    std::size_t pos = 2;
    PutText(b, pos, data.CurrentPack);
    PutText(b, pos, data.PackFolder);
    PutText(b, pos, data.UnitFileName);
    return b;
}

TXMLAppData DecodeXMLAppData(const TXMLAppDataBlock& block) {
    TXMLAppData d;
    d.XMLAppExists = block[0] != 0;
    d.ForcedUseXMLApp = block[1] != 0;
    std::size_t pos = 2;
    d.CurrentPack = GetText(block, pos);
    d.PackFolder = GetText(block, pos);
    d.UnitFileName = GetText(block, pos);
    if (d.UnitFileName.empty())
        d.XMLAppExists = false;
    return d;
}

bool SameXMLAppData(const TXMLAppData& a, const TXMLAppData& b) {
    return a.XMLAppExists == b.XMLAppExists && a.ForcedUseXMLApp == b.ForcedUseXMLApp &&
           platform::SameTextAscii(a.CurrentPack, b.CurrentPack) &&
           platform::SameTextAscii(a.PackFolder, b.PackFolder) &&
           platform::SameTextAscii(a.UnitFileName, b.UnitFileName);
}

TXMLAppServer::TXMLAppServer() {
    gServerAlive = true;
}

TXMLAppServer::~TXMLAppServer() {
    gServerAlive = false;
}

TXMLAppServer& XMLAppServer() {
    static TXMLAppServer server;
    return server;
}

TXMLAppServer* XMLAppServerIfAlive() {
    return gServerAlive ? &XMLAppServer() : nullptr;
}

void TXMLAppServer::SetApp(TXMLApp* app) {
    if (app == FApp)
        return;
    FApp = app;
    if (!app)
        AppRemoved = true;
}

void TXMLAppServer::Register(TXMLBaseClass* component) {
    if (component->IsHostedInIDE())
        return;
    if (std::find(FComponents.begin(), FComponents.end(), component) == FComponents.end())
        FComponents.push_back(component);
}

void TXMLAppServer::Unregister(TXMLBaseClass* component) {
    std::erase(FComponents, component);
}

// Separators become '/', doubled ones collapse, and an existing file is found
// in whatever letter case the disk has it, so names written on Windows
// ("C:\APP\LANG\RUS.LNG" style, or upper-cased pack names) reach the file.
std::string TXMLAppServer::CacheKey(const std::string& fileName) {
    std::string s = platform::ToNativeSeparators(fileName);
    std::string key;
    for (std::size_t i = 0; i < s.size(); ++i) {
        // "\\server" keeps its leading pair; elsewhere "//" becomes "/".
        if (s[i] == '/' && i > 1 && s[i - 1] == '/')
            continue;
        key += s[i];
    }
    return platform::FindPathIgnoringCase(key);
}

TXMLTreeItem* TXMLAppServer::GetXMLData(const std::string& fileName) {
    const std::string key = CacheKey(fileName);
    for (auto& rec : FCache)
        if (rec.Key == key) {
            TXMLTreeItem& tree = *rec.Data;
            const auto t = platform::GetFileTime(tree.GetFileName());
            if (t && *t > tree.GetFileTime()) {
                // Re-read as a fresh read would: with '_' (so the file's own
                // SYSTEM_ENCODING is found) and from ANSI, then back to the
                // in-memory form. Re-reading with '.' and UTF8 would decode an
                // ANSI or HTML pack as UTF-8.
                tree.SetTreeSeparator('_');
                tree.SetEncoding(TPackEncoding::ANSI);
                tree.ReloadIfChanged();
                tree.SetTreeSeparator('.');
                tree.SetEncoding(TPackEncoding::UTF8);
            }
            return &tree;
        }
    if (fileName.empty())
        return nullptr;
    auto tree = std::make_unique<TXMLTreeItem>(key);
    if (platform::FileExists(key))
        tree->OpenFromFile(key);
    tree->SetTreeSeparator('.');
    tree->SetEncoding(TPackEncoding::UTF8);
    FCache.push_back({key, std::move(tree)});
    return FCache.back().Data.get();
}

void TXMLAppServer::ApplyPackToAll(const std::string& fileName, bool forced) {
    // A component may go away while another applies its pack.
    const std::vector<TXMLBaseClass*> snapshot = FComponents;
    for (TXMLBaseClass* c : snapshot) {
        if (std::find(FComponents.begin(), FComponents.end(), c) == FComponents.end())
            continue;
        if (c->GetActive() && (forced || c->GetStatus() == TXMLBaseClass::csUseXMLApp))
            c->LoadAndApply(fileName);
    }
}

void TXMLAppServer::UpdatePreviewedForms(bool forced) {
    const std::vector<TXMLBaseClass*> snapshot = FComponents;
    for (TXMLBaseClass* c : snapshot) {
        auto* form = qobject_cast<TXMLForm*>(c);
        if (form && form->GetPreview() &&
            (forced || form->GetStatus() == TXMLBaseClass::csUseXMLApp))
            form->RefreshPreview();
    }
}

bool TXMLAppServer::ReadDataFromResource(TXMLAppData& data) {
    TXMLAppDataBlock block{};
    const bool ok = DesignServices().ReadDataFromResFile(block);
    if (!ok)
        block.fill(0);
    data = DecodeXMLAppData(block);
    return ok;
}

bool TXMLAppServer::XMLAppExistsInProject(std::string& unitFileName) {
    TXMLAppData d;
    const bool ok = ReadDataFromResource(d);
    unitFileName = d.UnitFileName;
    return ok && d.XMLAppExists;
}

bool TXMLAppServer::WriteResData(bool xmlAppExists, bool forcedUseXMLApp, bool forceWrite,
                                 const std::string& unitFileName, const std::string& packFolder,
                                 const std::string& currentPack) {
    TXMLAppData d{xmlAppExists, forcedUseXMLApp, currentPack, packFolder, unitFileName};
    const TXMLAppDataBlock block = EncodeXMLAppData(d);
    if (!forceWrite) {
        TXMLAppData stored;
        ReadDataFromResource(stored);
        if (SameXMLAppData(DecodeXMLAppData(block), stored))
            return true;
    }
    DesignServices().WriteDataToResFile(block);
    return true;
}

void TXMLAppServer::GetXMLAppPacksList(std::vector<std::string>& list) {
    list.clear();
    if (!FApp)
        return;
    for (int i = 0; i < FApp->GetPacksCount(); ++i)
        list.push_back(TXMLApp::PackDisplayName(FApp->GetPackPath(i)));
}

std::string TXMLAppServer::GetXMLAppCurrentPackFileName(std::string& fileName) {
    fileName.clear();
    if (!FApp)
        return {};
    fileName = FApp->GetCurrentPackPath();
    return TXMLApp::PackDisplayName(fileName);
}

bool TXMLAppServer::ChangeCurentLangPack(const std::string& name) {
    return FApp && FApp->SetCurrentPack(name);
}

void TXMLAppServer::WriteDataToResource(bool forceWrite) {
    if (!FApp)
        return;
    WriteResData(true, FApp->GetForcedUseXMLApp(), forceWrite,
                 DesignServices().GetUnitFileName(FApp), FApp->GetPackFolder(),
                 FApp->GetCurrentPack());
}

void TXMLAppServer::ClearDataInResource() {
    DesignServices().WriteDataToResFile(TXMLAppDataBlock{});
}

} // namespace lx
