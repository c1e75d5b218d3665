#pragma once
// Working folders on FTP servers: the program's cache of connected clients,
// single-file transfers run as series of silent attempts with the
// Abort/Retry/Ignore dialogs between series, listing, existence and
// connection tests, and INI files (share.ini) that lie on a server.
// Local and network folders need none of this: the pack set and the lock
// reach FTP folders through TFTPWorkFolder and TFTPFolderIni, installed by
// TFTPService.

#include "uAccess.h"
#include "uFTPAddress.h"
#include "uFTPClient.h"
#include "uPackCache.h"

#include <memory>
#include <string>
#include <vector>

namespace lx::editor {

/// The connected clients, one per connection key, kept for the whole run.
class TFTPMan {
public:
    TFTPMan();
    ~TFTPMan(); ///< disconnects and frees every client
    TFTPMan(const TFTPMan&) = delete;
    TFTPMan& operator=(const TFTPMan&) = delete;

    /// The client of the address's connection key, connected: a kept client
    /// is probed first and connected again when its connection was lost.
    /// Throws EFTPError when it cannot connect or log in.
    TFTPClient& GetConnection(const std::string& address);
    /// Applies to the kept clients and to those created later.
    void SetTimeouts(const TFTPTimeouts& timeouts);
    std::size_t ConnectionCount() const { return FConnections.size(); }

private:
    void SetupConnection(const std::string& address, TFTPClient& client);
    struct TConnection {
        std::unique_ptr<TFTPClient> Client;
        std::string Key;
    };
    std::vector<TConnection> FConnections;
    TFTPTimeouts FTimeouts;
};

/// The program's manager, installed by TFTPService; throws without one.
TFTPMan& FTPMan();

/// main.ini [FTP] repeat, read afresh: the attempts of one series; a value
/// below 1 counts as 3.
int FTPRepeatCount();

/// What became of one file.
enum class TTransferResult {
    Done,
    Missing, ///< a download of a file the server does not have (skipped silently)
    Skipped, ///< the user answered Ignore
};

/// Stores the local file as RemoteFileName(remotePath) in the record's
/// folder. Series of attempts; after a failed series the question
/// "Не удалось загрузить файл [%s]на сервер": Abort throws ETransferAborted,
/// Ignore skips the file, Retry runs another series. A local file that
/// cannot be read throws std::runtime_error.
TTransferResult UploadFile(const TFTPUserData& data, const std::string& localFile,
                           const std::string& remotePath);
/// Retrieves RemoteFileName(remotePath) of the record's folder into the
/// local file, which is replaced only by a complete copy. A file the server
/// does not have is skipped without a question; other failures ask as above.
TTransferResult DownloadFile(const TFTPUserData& data, const std::string& remotePath,
                             const std::string& localFile);
/// The names of the record's folder that match `mask` ("*" and "?", ASCII
/// case ignored; an empty mask matches all). One series; the error of its
/// last attempt is thrown.
void ListRemote(const TFTPUserData& data, const std::string& mask, std::vector<std::string>& list);
/// Whether the address names a file, or (with a trailing "/") a folder that
/// is not empty. Never throws.
bool RemoteExists(const std::string& address);
/// Whether the server takes the login and the folder can be entered; runs
/// `repeat` times, the last attempt decides. Never throws.
bool TestConnection(const TFTPUserData& data);

/// One key of the multi-key INI operations. Default: the default for reads,
/// the value for writes (at most 255 characters).
struct TINIRecStructure {
    std::string Section;
    std::string Key;
    std::string Value;
    std::string Default;
};
using TINIRecArray = std::vector<TINIRecStructure>;

// INI files of a working folder. For an FTP path the file is transferred
// through a temporary file (one download per read, a download and an upload
// per write); a file missing on the server reads as defaults and is created
// by a write; an aborted transfer ends only the transfer. None throws.
void RemoteReadKeys(TINIRecArray& records, const std::string& path);
std::string RemoteReadStr(const std::string& section, const std::string& key,
                          const std::string& def, const std::string& path);
void RemoteWriteKeys(const TINIRecArray& records, const std::string& path);
void RemoteWriteStr(const std::string& section, const std::string& key, const std::string& value,
                    const std::string& path);

/// The pack set's file access to an FTP working folder.
class TFTPWorkFolder final : public IWorkFolder {
public:
    bool Exists(const std::string& folder) override;
    std::vector<std::string> ListPacks(const std::string& folder) override;
    bool FileExists(const std::string& folder, const std::string& name) override;
    bool Download(const std::string& folder, const std::string& name,
                  const std::string& localFile) override;
    bool Upload(const std::string& localFile, const std::string& folder,
                const std::string& name) override;
};

/// The lock's INI access to a file of an FTP working folder.
class TFTPFolderIni final : public IFolderIni {
public:
    std::vector<std::string>
    Read(const std::string& folder, const std::string& file, const std::string& section,
         const std::vector<std::pair<std::string, std::string>>& keysAndDefaults) override;
    void Write(const std::string& folder, const std::string& file, const std::string& section,
               const std::vector<std::pair<std::string, std::string>>& values) override;
};

/// FTP working folders for its lifetime: the program-wide TFTPMan and the
/// FTP access of the pack set and of the lock. The program makes one at
/// start; tests make their own.
class TFTPService {
public:
    TFTPService();
    ~TFTPService();
    TFTPService(const TFTPService&) = delete;
    TFTPService& operator=(const TFTPService&) = delete;
    TFTPMan& Man() { return FMan; }

private:
    TFTPMan FMan;
    TFTPWorkFolder FFolder;
    TFTPFolderIni FIni;
    TFTPMan* FOldMan;
    IWorkFolder* FOldFolder;
    IFolderIni* FOldIni;
};

} // namespace lx::editor
