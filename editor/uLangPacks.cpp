#include "uLangPacks.h"

#include "engine/uIni.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "runtime/host/uHostUI.h"
#include "runtime/uResourceString.h"
#include "uAccess.h"
#include "uFTPAddress.h"
#include "uPackCache.h"
#include "uProgressViewer.h"
#include "uVars.h"

#include <filesystem>
#include <map>
#include <unistd.h>

namespace lx::editor {

LX_RESOURCESTRING(sCheckAvailability, "Проверка доступности пакета");
LX_RESOURCESTRING(sNotAvailable, "Ресурс [%s] не доступен!");
LX_RESOURCESTRING(sRefreshFiles, "Обновление файлов");
LX_RESOURCESTRING(sDeleteLangQ,
                  "Вы действительно хотите удалить язык [%s], хранящийся в файле [%s]");
LX_RESOURCESTRING(sLanguageHeader, "Language");
LX_RESOURCESTRING(sFileNameHeader, "File Name");
LX_RESOURCESTRING(sPackExists, "Язык [%s] уже есть в пакете");

namespace {

bool FolderAvailable(const std::string& folder) {
    try {
        return WorkFolderFor(folder).Exists(folder);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

TLangPackSet::TLangPackSet() = default;
TLangPackSet::~TLangPackSet() = default;

bool TLangPackSet::OpenWorkDir(const std::string& path) {
    if (path.empty()) {
        if (!CloseWorkDir())
            return true;
        FWorkDir.clear();
        ReloadPacks();
        return false;
    }
    std::string folder = path;
    {
        TActionScope all("");
        PackAccessGranted() = true;
        host::TMsgResult availability = host::TMsgResult::Ok;
        bool available = false;
        {
            TActionScope check(sCheckAvailability().toStdString());
            for (;;) {
                available = FolderAvailable(folder);
                if (available)
                    break;
                availability = host::HostUI().Ask(host::TMsgKind::Error,
                                                  FillText(sNotAvailable(), {HidePassword(folder)}),
                                                  host::TMsgButtons::AbortRetryIgnore);
                if (availability != host::TMsgResult::Retry)
                    break;
            }
            if (availability == host::TMsgResult::Abort)
                ClearCache();
        }
        TEnterResult lock = TEnterResult::Granted;
        if (available)
            lock = EnterPackSet(folder);
        if (lock == TEnterResult::Cancelled || availability == host::TMsgResult::Abort)
            folder.clear();
        FWorkDir = folder;
        if (!folder.empty()) {
            std::string opened = folder;
            if (RecoverOrDownload(opened))
                FWorkDir = opened;
            else
                FWorkDir.clear();
        }
    }
    if (!folder.empty())
        WriteStr("main", "workdir", FWorkDir, MainIniFileName());
    ReloadPacks();
    return !FWorkDir.empty();
}

bool TLangPackSet::CloseWorkDir() {
    if (!FWorkDir.empty() && !ConfirmCloseWithUnsentPacks(FWorkDir))
        return false;
    FPacks.clear();
    ClearCache();
    if (!FWorkDir.empty())
        LeavePackSet(FWorkDir);
    return true;
}

void TLangPackSet::SaveModifiedPacks() {
    for (auto& p : FPacks)
        if (p->IsModified())
            p->Save();
}

bool TLangPackSet::TakeOverPack() {
    return editor::TakeOverPack(FWorkDir);
}

TXMLTreeItem* TLangPackSet::GetPack(int index) {
    return index >= 0 && index < GetPackCount() ? FPacks[static_cast<std::size_t>(index)].get()
                                                : nullptr;
}

bool TLangPackSet::IsPackChecked(int index) const {
    if (FWorkDir.empty() || index < 0 || index >= GetPackCount())
        return false;
    return ReadStr(FWorkDir,
                   ExtractFilePackName_(FPacks[static_cast<std::size_t>(index)]->GetFileName()),
                   "true", PacksCfgFileName()) == "true";
}

void TLangPackSet::SetPackChecked(int index, bool ticked) {
    if (FWorkDir.empty() || index < 0 || index >= GetPackCount())
        return;
    WriteBool(FWorkDir,
              ExtractFilePackName_(FPacks[static_cast<std::size_t>(index)]->GetFileName()), ticked,
              PacksCfgFileName());
}

std::vector<std::string> TLangPackSet::GetPackNames(bool tickedOnly) const {
    std::vector<std::string> names;
    for (int i = 0; i < GetPackCount(); ++i)
        if (!tickedOnly || IsPackChecked(i))
            names.push_back(
                ExtractFilePackName_(FPacks[static_cast<std::size_t>(i)]->GetFileName()));
    return names;
}

std::vector<std::string> TLangPackSet::GetPackList(std::vector<std::string>& header,
                                                   bool tickedOnly) const {
    header = {sLanguageHeader().toStdString(), sFileNameHeader().toStdString()};
    std::vector<std::string> rows;
    for (int i = 0; i < GetPackCount(); ++i) {
        if (tickedOnly && !IsPackChecked(i))
            continue;
        const TXMLTreeItem& p = *FPacks[static_cast<std::size_t>(i)];
        rows.push_back(ExtractFilePackName_(p.GetFileName()) + " - " +
                       LanguageNameOfLCID(p.GetLCID()) + '\x01' + p.GetFileName());
    }
    return rows;
}

TXMLTreeItem* TLangPackSet::AddPack(const std::string& name) {
    const std::string file = CacheDir() + name + ".lng";
    // A pack of that name (in any letter case) is never overwritten.
    for (const auto& p : FPacks)
        if (platform::SameTextAscii(ExtractFilePackName_(p->GetFileName()), name)) {
            host::HostUI().ShowError(FillText(sPackExists(), {name}));
            return nullptr;
        }
    std::error_code ec;
    std::filesystem::create_directories(CacheDir(), ec);
    auto pack = std::make_unique<TXMLTreeItem>(file);
    pack->Save();
    FPacks.push_back(std::move(pack));
    Notify();
    return FPacks.back().get();
}

void TLangPackSet::DeletePack(int index) {
    TXMLTreeItem* p = GetPack(index);
    if (!p)
        return;
    if (host::HostUI().Ask(
            host::TMsgKind::Warning,
            FillText(sDeleteLangQ(), {ExtractFilePackName_(p->GetFileName()), p->GetFileName()}),
            host::TMsgButtons::YesNo) != host::TMsgResult::Yes)
        return;
    unlink(p->GetFileName().c_str());
    // Only this pack leaves the set: the others keep their unsaved edits.
    FPacks.erase(FPacks.begin() + index);
    Notify();
}

void TLangPackSet::ReloadPacks() {
    std::map<std::string, TPackEncoding> encodings;
    for (const auto& p : FPacks)
        encodings[p->GetFileName()] = p->GetEncoding();
    FPacks.clear();
    {
        TActionScope action(sRefreshFiles().toStdString());
        for (const auto& file : CachePackFiles()) {
            auto pack = std::make_unique<TXMLTreeItem>(file);
            if (auto e = encodings.find(file); e != encodings.end())
                pack->SetEncoding(e->second);
            try {
                pack->OpenFromFile(file);
            } catch (const EXMLParseError& e) {
                // A damaged pack is named and left out; its file stays as it is.
                host::HostUI().ShowError(QString::fromStdString(file + ": " + e.what() + " (byte " +
                                                                std::to_string(e.Offset()) + ")"));
                continue;
            } catch (const std::exception& e) {
                host::HostUI().ShowError(QString::fromStdString(e.what()));
                continue;
            }
            FPacks.push_back(std::move(pack));
        }
    }
    Notify();
}

bool TLangPackSet::DownloadPacks() {
    return editor::DownloadPacks(FWorkDir);
}

bool TLangPackSet::UploadPacks() {
    return editor::UploadPacks(FWorkDir);
}

TPackFont TLangPackSet::GetPackFont(int index) {
    FFontIndex = index;
    TPackFont f = FDefaultFont;
    if (FWorkDir.empty() || !GetPack(index))
        return f;
    const std::string pack = ExtractFilePackName_(GetPack(index)->GetFileName());
    const std::string cfg = PacksCfgFileName();
    f.Charset = ReadInt(FWorkDir, pack + "Font.Charset", f.Charset, cfg);
    f.Size = ReadInt(FWorkDir, pack + "Font.Size", f.Size, cfg);
    f.Name = ReadStr(FWorkDir, pack + "_Font.Name", f.Name, cfg);
    return f;
}

void TLangPackSet::SavePackFont(const TPackFont& font) {
    if (FWorkDir.empty() || !GetPack(FFontIndex))
        return;
    const std::string pack = ExtractFilePackName_(GetPack(FFontIndex)->GetFileName());
    const std::string cfg = PacksCfgFileName();
    WriteInt(FWorkDir, pack + "Font.Charset", font.Charset, cfg);
    WriteInt(FWorkDir, pack + "Font.Size", font.Size, cfg);
    WriteStr(FWorkDir, pack + "_Font.Name", font.Name, cfg);
}

bool TLangPackSet::AnyPackModified() const {
    for (const auto& p : FPacks)
        if (p->IsModified())
            return true;
    return false;
}

void TLangPackSet::SetPacksModified(bool modified) {
    for (auto& p : FPacks)
        p->SetTreeModified(modified);
}

void TLangPackSet::Notify() {
    if (FOnPacksChanged)
        FOnPacksChanged(this);
}

} // namespace lx::editor
