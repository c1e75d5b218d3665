#pragma once
// One FTP client over libcurl: one control connection, kept open between
// operations, passive data connections, binary transfers, progress reported
// to the program's progress manager.
//
// Positioning: a folder given to an operation is relative to the login folder
// (the folder the server puts the user in, read with PWD when the client
// connects; "" is the login folder itself). Every operation changes into the
// absolute path login folder + folder with a single CWD before it retrieves,
// stores or lists, so a reused connection never acts in the folder its
// previous transfer left, at any depth.

#include <stdexcept>
#include <string>
#include <vector>

namespace lx::editor {

/// A failed FTP operation; the message holds libcurl's error and the
/// server's last error reply. It never contains the password.
class EFTPError : public std::runtime_error {
public:
    EFTPError(const std::string& message, bool fileMissing, int code = 0)
        : std::runtime_error(message), FFileMissing(fileMissing), FCode(code) {}
    /// The server answered that the file or folder is not there.
    bool FileMissing() const { return FFileMissing; }
    /// libcurl's result code.
    int Code() const { return FCode; }

private:
    bool FFileMissing;
    int FCode;
};

/// Without these libcurl waits 120 s (or forever) for a silent server.
struct TFTPTimeouts {
    long ConnectMs = 10000;    ///< TCP connect and login
    long ResponseSeconds = 20; ///< each reply of the server
    long LowSpeedSeconds = 20; ///< a transfer slower than LowSpeedBytes per second for this long
    long LowSpeedBytes = 10;
};

class TFTPClient {
public:
    TFTPClient();
    ~TFTPClient();
    TFTPClient(const TFTPClient&) = delete;
    TFTPClient& operator=(const TFTPClient&) = delete;

    /// Server and login, used by the next Connect. A port that is not a
    /// number leaves the default, 21.
    void Setup(const std::string& host, const std::string& port, const std::string& user,
               const std::string& password);
    void SetTimeouts(const TFTPTimeouts& timeouts) { FTimeouts = timeouts; }
    bool Connected() const { return FConnected; }
    /// Opens the control connection and logs in; reads the login folder.
    void Connect();
    /// A NOOP on the open connection; throws when the connection is gone.
    void Probe();
    void Disconnect();

    /// Retrieves `name` of `folder`; returns the file's bytes.
    std::string Retrieve(const std::string& folder, const std::string& name);
    /// Stores `data` as `name` in `folder`: under a temporary name first, then
    /// renamed over `name`, so a transfer that breaks off never leaves a
    /// truncated file under the real name.
    void Store(const std::string& data, const std::string& folder, const std::string& name);
    /// The name list (NLST) of `folder`, with `argument` when not empty.
    std::vector<std::string> NameList(const std::string& folder, const std::string& argument);
    /// Changes into `folder`; throws when it cannot be entered.
    void ChangeDir(const std::string& folder);

    /// The temporary name an upload uses before its rename.
    static std::string TemporaryName(const std::string& name);

private:
    struct TTransfer;
    void Prepare(TTransfer& t, const std::string& url);
    void Perform(TTransfer& t);
    std::string BaseURL() const;
    std::string AbsoluteFolder(const std::string& folder) const;
    std::string FolderURL(const std::string& folder) const;

    void* FCurl;
    std::string FHost, FPort, FUser, FPassword;
    std::string FLoginFolder; ///< absolute, without trailing "/", "" for "/"
    bool FConnected = false;
    TFTPTimeouts FTimeouts;
};

} // namespace lx::editor
