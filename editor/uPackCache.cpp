#include "uPackCache.h"

#include "engine/uIni.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "runtime/host/uHostUI.h"
#include "runtime/uResourceString.h"
#include "uAccess.h"
#include "uFTPAddress.h"
#include "uProgressViewer.h"
#include "uVars.h"

#include <ctime>
#include <filesystem>
#include <stdexcept>

namespace lx::editor {

LX_RESOURCESTRING(sDownloadAction, "Загрузка файлов с сервера");
LX_RESOURCESTRING(sUploadAction, "Загрузка файлов на сервер");
LX_RESOURCESTRING(sCannotCopy, "Программа не может переписать файлы в папку назначения [%s]!");
LX_RESOURCESTRING(sRecoverQ,
                  "В предыдущем сеансе работы программа дала сбой и не смогла переписать данные в "
                  "папку назначения [%s]. Хотите ли Вы вернуться к старым данным?");
LX_RESOURCESTRING(sRecoverOtherQ,
                  "В предыдущем сеансе работы программа дала сбой и не смогла переписать данные в "
                  "папку назначения [%s]. Эти данные относятся не к открываемой папке [%s]. "
                  "Открыть папку [%s] со старыми данными вместо неё?");
LX_RESOURCESTRING(sUnsentPacksQ,
                  "Сохранённые изменения языковых пакетов ещё не переписаны в папку назначения "
                  "[%s]. Переписать их сейчас?");

namespace {

namespace fs = std::filesystem;

constexpr const char* kCachedData = "casheddata.ini";
constexpr const char* kPackageIni = "package.ini";

IWorkFolder* gFTP = nullptr;

std::string Native(const std::string& folder) {
    return platform::ToNativeSeparators(folder);
}

// Writes a copy atomically, so that a broken copy never replaces a good file.
void CopyFileAtomic(const std::string& from, const std::string& to) {
    try {
        platform::WriteFileAtomic(to, platform::ReadWholeFile(from));
    } catch (const platform::EFileError& e) {
        throw std::runtime_error(e.what());
    }
}

std::string WithSlash(const std::string& folder) {
    return folder.empty() || folder.back() == '/' || folder.back() == '\\' ? folder : folder + "\\";
}

std::string WithoutSlash(std::string folder) {
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    return folder;
}

} // namespace

bool IsFTPPath(const std::string& folder) {
    return folder.rfind("ftp:", 0) == 0;
}

bool IsNetworkPath(const std::string& folder) {
    return folder.size() >= 3 && folder[0] == '\\' && folder[1] == '\\';
}

bool TLocalWorkFolder::Exists(const std::string& folder) {
    return platform::DirectoryExists(Native(folder));
}

std::vector<std::string> TLocalWorkFolder::ListPacks(const std::string& folder) {
    return platform::ListFilesWithExtension(Native(folder), ".lng");
}

bool TLocalWorkFolder::FileExists(const std::string& folder, const std::string& name) {
    return platform::FileExists(platform::JoinPath(Native(folder), name));
}

bool TLocalWorkFolder::Download(const std::string& folder, const std::string& name,
                                const std::string& localFile) {
    CopyFileAtomic(platform::JoinPath(Native(folder), name), localFile);
    return true;
}

bool TLocalWorkFolder::Upload(const std::string& localFile, const std::string& folder,
                              const std::string& name) {
    CopyFileAtomic(localFile, platform::JoinPath(Native(folder), name));
    return true;
}

IWorkFolder& WorkFolderFor(const std::string& folder) {
    static TLocalWorkFolder local;
    if (IsFTPPath(folder)) {
        if (!gFTP)
            throw std::runtime_error("FTP working folders are not available: " +
                                     HidePassword(folder));
        return *gFTP;
    }
    return local;
}

IWorkFolder* SetFTPWorkFolder(IWorkFolder* ftp) {
    IWorkFolder* old = gFTP;
    gFTP = ftp;
    return old;
}

std::string CacheDir() {
    return GetAppDir() + "cash/";
}

long long CacheMarkerTime() {
    std::tm t{};
    t.tm_year = 100;
    t.tm_mon = 0;
    t.tm_mday = 1;
    t.tm_isdst = -1;
    return static_cast<long long>(std::mktime(&t)) * 1000000000LL;
}

bool IsChangedSinceDownload(const std::string& file) {
    const auto t = platform::GetFileTime(file);
    return t && *t != CacheMarkerTime();
}

std::vector<std::string> CachePackFiles() {
    std::vector<std::string> files;
    for (const auto& name : platform::ListFilesWithExtension(CacheDir(), ".lng"))
        files.push_back(CacheDir() + name);
    return files;
}

std::vector<std::string> ChangedCachePacks() {
    std::vector<std::string> changed;
    for (const auto& f : CachePackFiles())
        if (IsChangedSinceDownload(f))
            changed.push_back(f);
    return changed;
}

void ClearCache() {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(CacheDir(), ec))
        fs::remove_all(entry.path(), ec);
}

std::string CachedWorkDir() {
    const std::string ini = CacheDir() + kCachedData;
    if (!platform::FileExists(ini))
        return {};
    return ReadStr("info", "workdir", "", ini);
}

void DownloadToCache(const std::string& folder) {
    std::error_code ec;
    fs::create_directories(CacheDir(), ec);
    ClearCache();
    IWorkFolder& wf = WorkFolderFor(folder);
    if (!wf.Exists(folder))
        throw std::runtime_error(HidePassword(folder) + ": the folder is not there");
    try {
        for (const auto& name : wf.ListPacks(folder)) {
            const std::string local = CacheDir() + name;
            if (wf.Download(folder, name, local))
                platform::SetFileTime(local, CacheMarkerTime());
        }
        // A package.ini the user skipped must not be replaced later by the
        // cache's own (which would hold only the flags set since): the cache
        // notes it and the uploads leave the server's file alone.
        const bool skipped = wf.FileExists(folder, kPackageIni) &&
                             !wf.Download(folder, kPackageIni, CacheDir() + kPackageIni);
        if (!WriteStr("info", "workdir", WithSlash(folder), CacheDir() + kCachedData) ||
            (skipped && !WriteStr("info", "packageini", "skipped", CacheDir() + kCachedData)))
            throw std::runtime_error(CacheDir() + kCachedData + ": cannot be written");
    } catch (const ETransferAborted&) {
        throw; // the cache stays as far as it got
    } catch (...) {
        ClearCache(); // no half set for a later recovery
        throw;
    }
}

void UploadFromCache(const std::string& folder) {
    IWorkFolder& wf = WorkFolderFor(folder);
    if (!wf.Exists(folder))
        throw std::runtime_error(HidePassword(folder) + ": the folder is not there");
    // A pack written back gets the marker date again, so that only packs
    // saved after this upload count as not yet written back; a pack the user
    // skipped keeps its date and goes at the next upload.
    for (const auto& file : ChangedCachePacks())
        if (wf.Upload(file, folder, file.substr(file.find_last_of('/') + 1)))
            platform::SetFileTime(file, CacheMarkerTime());
    if (platform::FileExists(CacheDir() + kPackageIni) &&
        ReadStr("info", "packageini", "", CacheDir() + kCachedData) != "skipped")
        wf.Upload(CacheDir() + kPackageIni, folder, kPackageIni);
}

namespace {

// Abort/Retry around one pass; the message names the folder and the cause.
template <class Pass>
bool Loop(const std::string& folder, const lx::TResourceString& action, Pass pass) {
    for (;;) {
        std::string error;
        {
            TActionScope scope(action().toStdString());
            try {
                pass();
                return true;
            } catch (const ETransferAborted&) {
                throw;
            } catch (const std::exception& e) {
                error = e.what();
            }
        }
        const QString text = FillText(sCannotCopy(), {HidePassword(WithSlash(folder))}) +
                             QStringLiteral("\r\n") + QString::fromStdString(error);
        if (host::HostUI().Ask(host::TMsgKind::Error, text, host::TMsgButtons::AbortRetryIgnore) !=
            host::TMsgResult::Retry)
            return false;
    }
}

// A transfer the user aborted ends the whole operation with its error shown,
// as an error nothing else handles would be.
template <class Pass> bool ShowingAbort(Pass pass) {
    try {
        return pass();
    } catch (const ETransferAborted& e) {
        host::HostUI().ShowError(QString::fromStdString(e.what()));
        return false;
    }
}

} // namespace

bool DownloadPacks(const std::string& folder) {
    return ShowingAbort(
        [&] { return Loop(folder, sDownloadAction, [&] { DownloadToCache(folder); }); });
}

bool UploadPacks(const std::string& folder) {
    if (!ConfirmUploadWithoutAccess())
        return false;
    return ShowingAbort(
        [&] { return Loop(folder, sUploadAction, [&] { UploadFromCache(folder); }); });
}

bool RecoverOrDownload(std::string& folder) {
    const std::string cached = CachedWorkDir();
    if (!cached.empty()) {
        const bool same = WithoutSlash(cached) == WithoutSlash(folder);
        const std::string shown = HidePassword(cached);
        const QString text =
            same ? FillText(sRecoverQ(), {shown})
                 : FillText(sRecoverOtherQ(), {shown, HidePassword(WithSlash(folder)), shown});
        if (host::HostUI().Ask(host::TMsgKind::Warning, text, host::TMsgButtons::YesNo) ==
            host::TMsgResult::Yes) {
            folder = WithoutSlash(cached);
            return true;
        }
        ClearCache();
    }
    if (folder.empty())
        return false;
    return DownloadPacks(folder);
}

bool ConfirmCloseWithUnsentPacks(const std::string& folder) {
    if (folder.empty() || ChangedCachePacks().empty())
        return true;
    switch (host::HostUI().Ask(host::TMsgKind::Confirmation,
                               FillText(sUnsentPacksQ(), {HidePassword(WithSlash(folder))}),
                               host::TMsgButtons::YesNoCancel)) {
    case host::TMsgResult::Yes:
        return UploadPacks(folder);
    case host::TMsgResult::No:
        return true;
    default:
        return false;
    }
}

} // namespace lx::editor
