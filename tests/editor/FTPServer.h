#pragma once
// A real FTP server for the tests: Debian's pyftpdlib (ftp_server.py) on a
// free port of 127.0.0.1, one user with a password, a folder of the test as
// its root. It logs every command it receives, so tests can count them.

#include <string>

namespace lx::test {

class TFTPServer {
public:
    /// Starts the server and waits until it accepts connections; a server
    /// that does not come up fails the test (ADD_FAILURE) and Port() is 0.
    /// `port` 0 chooses a free one.
    TFTPServer(const std::string& root, const std::string& user, const std::string& password,
               const std::string& logFile, int port = 0);
    ~TFTPServer();
    TFTPServer(const TFTPServer&) = delete;
    TFTPServer& operator=(const TFTPServer&) = delete;

    int Port() const { return FPort; }
    /// Kills the server at once (connections drop, new ones are refused).
    void Stop();
    /// How many times the server received `command` (for example "RETR").
    int CommandCount(const std::string& command) const;

private:
    int FPort = 0;
    int FPid = -1;
    std::string FLog;
};

} // namespace lx::test
