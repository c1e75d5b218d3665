#include "uRemote.h"

#include "engine/uIni.h"
#include "platform/Files.h"
#include "runtime/host/uHostUI.h"
#include "runtime/uResourceString.h"
#include "uProgressViewer.h"
#include "uVars.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace lx::editor {

LX_RESOURCESTRING(sUploadFailed, "Не удалось загрузить файл [%s]на сервер");
LX_RESOURCESTRING(sDownloadFailed, "Не удалось загрузить файл [%s] с сервер");

namespace {

TFTPMan* gMan = nullptr;
constexpr std::size_t kRecordLimit = 255;

std::string FileNameOf(const std::string& path) {
    return RemoteFileName(path);
}

// One series: up to `repeat` attempts, each with a connected client; the
// error of the last attempt ends the series.
template <class Command> void Series(const TFTPUserData& data, Command command) {
    const int attempts = FTPRepeatCount();
    for (int attempt = 1;; ++attempt) {
        try {
            command(FTPMan().GetConnection(BuildFTPURL(data)));
            return;
        } catch (const std::exception&) {
            if (attempt >= attempts)
                throw;
        }
    }
}

// The question after a failed series; the text names the file without the
// password and gives the cause.
host::TMsgResult AskAfterFailure(const lx::TResourceString& text, const std::string& remotePath,
                                 const std::string& cause) {
    return host::HostUI().Ask(host::TMsgKind::Error,
                              FillText(text(), {HidePassword(remotePath)}) +
                                  QStringLiteral("\r\n") + QString::fromStdString(cause),
                              host::TMsgButtons::AbortRetryIgnore);
}

// "packs/de/share.ini" -> folder "packs/de", name "share.ini".
std::string ParentFolder(const std::string& folder) {
    const auto p = folder.find_last_of('/');
    return p == std::string::npos ? std::string() : folder.substr(0, p);
}

std::string JoinAddress(std::string folder, const std::string& name) {
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    return folder + "/" + name;
}

// The temporary copy of an INI file on a server. The system's temporary
// folder is shared by all users here, so the name is made unique (and the
// file created exclusively) instead of a fixed glotrixedtemp.ini.
class TTempIni {
public:
    TTempIni() {
        std::error_code ec;
        std::string pattern =
            (std::filesystem::temp_directory_path(ec) / "glotrixedtemp-XXXXXX.ini").string();
        const int fd = mkstemps(pattern.data(), 4);
        if (fd >= 0) {
            close(fd);
            FPath = pattern;
        }
    }
    ~TTempIni() {
        if (!FPath.empty())
            unlink(FPath.c_str());
    }
    TTempIni(const TTempIni&) = delete;
    TTempIni& operator=(const TTempIni&) = delete;
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

// Downloads an INI file of a server into the temporary file; true when the
// temporary file now holds the server's file or the server has none.
bool FetchIni(const std::string& path, const std::string& temp) {
    TFTPUserData folder = ParseFTPURL(path);
    folder.Folder = ParentFolder(folder.Folder);
    try {
        return DownloadFile(folder, path, temp) != TTransferResult::Skipped;
    } catch (const std::exception&) {
        return false; // aborted, or the temporary file could not be written
    }
}

} // namespace

TFTPMan::TFTPMan() = default;
TFTPMan::~TFTPMan() {
    for (auto& c : FConnections)
        c.Client->Disconnect();
}

void TFTPMan::SetTimeouts(const TFTPTimeouts& timeouts) {
    FTimeouts = timeouts;
    for (auto& c : FConnections)
        c.Client->SetTimeouts(timeouts);
}

void TFTPMan::SetupConnection(const std::string& address, TFTPClient& client) {
    if (client.Connected())
        return; // every operation positions itself (see TFTPClient)
    const TFTPUserData data = ParseFTPURL(ConnectionKey(address));
    client.Setup(data.Host, data.Port, data.UserName, data.Password);
}

TFTPClient& TFTPMan::GetConnection(const std::string& address) {
    const std::string key = ConnectionKey(address);
    auto it = std::find_if(FConnections.begin(), FConnections.end(),
                           [&](const TConnection& c) { return c.Key == key; });
    if (it == FConnections.end()) {
        auto client = std::make_unique<TFTPClient>();
        client->SetTimeouts(FTimeouts);
        FConnections.push_back({std::move(client), key});
        it = std::prev(FConnections.end());
    }
    TFTPClient& client = *it->Client;
    if (client.Connected()) {
        try {
            client.Probe();
            return client;
        } catch (const EFTPError&) {
            client.Disconnect(); // the connection was lost: start afresh
        }
    }
    SetupConnection(address, client);
    client.Connect();
    return client;
}

TFTPMan& FTPMan() {
    if (!gMan)
        throw std::runtime_error("FTP working folders are not available");
    return *gMan;
}

int FTPRepeatCount() {
    const int n = ReadInt("FTP", "repeat", 3, MainIniFileName());
    return n < 1 ? 3 : n;
}

// The translator's answer to a failed series: true for Retry, false for
// Ignore (the file is skipped); Abort ends the whole operation.
static bool RetryAfterFailure(const lx::TResourceString& question, const std::string& remotePath,
                              const std::string& cause) {
    switch (AskAfterFailure(question, remotePath, cause)) {
    case host::TMsgResult::Retry:
        return true;
    case host::TMsgResult::Ignore:
        return false;
    default:
        throw ETransferAborted(cause);
    }
}

TTransferResult UploadFile(const TFTPUserData& data, const std::string& localFile,
                           const std::string& remotePath) {
    TActionScope action("<" + FileNameOf(localFile) + ">");
    const std::string name = RemoteFileName(remotePath);
    std::string bytes;
    try {
        bytes = platform::ReadWholeFile(localFile);
    } catch (const platform::EFileError& e) {
        throw std::runtime_error(e.what());
    }
    for (;;) {
        std::string cause;
        try {
            Series(data, [&](TFTPClient& c) { c.Store(bytes, data.Folder, name); });
            return TTransferResult::Done;
        } catch (const std::exception& e) {
            cause = e.what();
        }
        if (!RetryAfterFailure(sUploadFailed, remotePath, cause))
            return TTransferResult::Skipped;
    }
}

TTransferResult DownloadFile(const TFTPUserData& data, const std::string& remotePath,
                             const std::string& localFile) {
    TActionScope action("<" + FileNameOf(localFile) + ">");
    const std::string name = RemoteFileName(remotePath);
    for (;;) {
        std::string cause;
        bool missing = false;
        std::string bytes;
        try {
            Series(data, [&](TFTPClient& c) { bytes = c.Retrieve(data.Folder, name); });
        } catch (const EFTPError& e) {
            cause = e.what();
            missing = e.FileMissing();
        } catch (const std::exception& e) {
            cause = e.what();
        }
        if (cause.empty()) {
            // Only a complete copy replaces the local file.
            try {
                platform::WriteFileAtomic(localFile, bytes);
            } catch (const platform::EFileError& e) {
                throw std::runtime_error(e.what());
            }
            return TTransferResult::Done;
        }
        // Servers word the reply differently; a 550 to the retrieval counts too.
        if (missing || cause.find("No such file") != std::string::npos)
            return TTransferResult::Missing;
        if (!RetryAfterFailure(sDownloadFailed, remotePath, cause))
            return TTransferResult::Skipped;
    }
}

void ListRemote(const TFTPUserData& data, const std::string& mask, std::vector<std::string>& list) {
    // NLST without an argument, filtered here: wildcards in NLST are a server
    // extension that not every server has.
    std::vector<std::string> names;
    Series(data, [&](TFTPClient& c) { names = c.NameList(data.Folder, ""); });
    const std::string trimmed = [&] {
        const auto b = mask.find_first_not_of(" \t");
        const auto e = mask.find_last_not_of(" \t");
        return b == std::string::npos ? std::string() : mask.substr(b, e - b + 1);
    }();
    list.clear();
    for (const auto& n : names) {
        const std::string name = RemoteFileName(n);
        if (name == "." || name == "..")
            continue;
        if (trimmed.empty() || platform::MatchesFileMask(name, trimmed))
            list.push_back(name);
    }
}

bool RemoteExists(const std::string& address) {
    try {
        const TFTPUserData data = ParseFTPURL(address);
        // The name is listed in its parent folder; a folder lists its
        // contents, so an empty folder counts as missing.
        TFTPUserData parent = data;
        parent.Folder = ParentFolder(data.Folder);
        const std::string name = data.Folder.empty() ? std::string() : RemoteFileName(data.Folder);
        std::vector<std::string> names;
        Series(parent, [&](TFTPClient& c) { names = c.NameList(parent.Folder, name); });
        return !names.empty();
    } catch (const std::exception&) {
        return false;
    }
}

bool TestConnection(const TFTPUserData& data) {
    bool ok = false;
    int attempts = 1;
    try {
        attempts = FTPRepeatCount();
    } catch (const std::exception&) {
    }
    for (int i = 0; i < attempts; ++i) {
        try {
            FTPMan().GetConnection(BuildFTPURL(data)).ChangeDir(data.Folder);
            ok = true;
        } catch (const std::exception&) {
            ok = false;
        }
    }
    return ok;
}

void RemoteReadKeys(TINIRecArray& records, const std::string& path) {
    if (records.empty())
        return;
    if (!IsFTPPath(path)) {
        for (auto& r : records)
            r.Value = ReadStr(r.Section, r.Key, r.Default, path);
        return;
    }
    TTempIni temp;
    if (temp.Path().empty() || !FetchIni(path, temp.Path())) {
        for (auto& r : records)
            r.Value = r.Default;
        return;
    }
    for (auto& r : records)
        r.Value = ReadStr(r.Section, r.Key, r.Default, temp.Path());
}

std::string RemoteReadStr(const std::string& section, const std::string& key,
                          const std::string& def, const std::string& path) {
    TINIRecArray records{{section, key, "", def}};
    RemoteReadKeys(records, path);
    return records[0].Value;
}

void RemoteWriteKeys(const TINIRecArray& records, const std::string& path) {
    if (records.empty())
        return;
    const auto cut = [](const std::string& s) {
        return s.size() > kRecordLimit ? s.substr(0, kRecordLimit) : s;
    };
    if (!IsFTPPath(path)) {
        for (const auto& r : records)
            WriteStr(r.Section, r.Key, cut(r.Default), path);
        return;
    }
    TTempIni temp;
    // Only a copy of the server's file (or a new one, when it has none) goes
    // back: a download that was given up would otherwise upload a file without
    // the server's other keys. The write is then lost, as for an aborted upload.
    if (temp.Path().empty() || !FetchIni(path, temp.Path()))
        return;
    for (const auto& r : records)
        WriteStr(r.Section, r.Key, cut(r.Default), temp.Path());
    TFTPUserData folder = ParseFTPURL(path);
    folder.Folder = ParentFolder(folder.Folder);
    try {
        UploadFile(folder, temp.Path(), path);
    } catch (const std::exception&) {
        // aborted: the write is lost, the operation goes on
    }
}

void RemoteWriteStr(const std::string& section, const std::string& key, const std::string& value,
                    const std::string& path) {
    RemoteWriteKeys({{section, key, "", value}}, path);
}

bool TFTPWorkFolder::Exists(const std::string& folder) {
    return RemoteExists(JoinAddress(folder, ""));
}

std::vector<std::string> TFTPWorkFolder::ListPacks(const std::string& folder) {
    std::vector<std::string> names;
    ListRemote(ParseFTPURL(folder), "*.lng", names);
    std::sort(names.begin(), names.end());
    return names;
}

bool TFTPWorkFolder::FileExists(const std::string& folder, const std::string& name) {
    return RemoteExists(JoinAddress(folder, name));
}

bool TFTPWorkFolder::Download(const std::string& folder, const std::string& name,
                              const std::string& localFile) {
    return DownloadFile(ParseFTPURL(folder), JoinAddress(folder, name), localFile) ==
           TTransferResult::Done;
}

bool TFTPWorkFolder::Upload(const std::string& localFile, const std::string& folder,
                            const std::string& name) {
    return UploadFile(ParseFTPURL(folder), localFile, JoinAddress(folder, name)) ==
           TTransferResult::Done;
}

std::vector<std::string>
TFTPFolderIni::Read(const std::string& folder, const std::string& file, const std::string& section,
                    const std::vector<std::pair<std::string, std::string>>& keysAndDefaults) {
    TINIRecArray records;
    for (const auto& [key, def] : keysAndDefaults)
        records.push_back({section, key, "", def});
    RemoteReadKeys(records, JoinAddress(folder, file));
    std::vector<std::string> values;
    for (const auto& r : records)
        values.push_back(r.Value);
    return values;
}

void TFTPFolderIni::Write(const std::string& folder, const std::string& file,
                          const std::string& section,
                          const std::vector<std::pair<std::string, std::string>>& values) {
    TINIRecArray records;
    for (const auto& [key, value] : values)
        records.push_back({section, key, "", value});
    RemoteWriteKeys(records, JoinAddress(folder, file));
}

TFTPService::TFTPService()
    : FOldMan(gMan), FOldFolder(SetFTPWorkFolder(&FFolder)), FOldIni(SetFTPFolderIni(&FIni)) {
    gMan = &FMan;
}

TFTPService::~TFTPService() {
    gMan = FOldMan;
    SetFTPWorkFolder(FOldFolder);
    SetFTPFolderIni(FOldIni);
}

} // namespace lx::editor
