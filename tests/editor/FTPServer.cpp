#include "FTPServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace lx::test {

namespace {

int FreePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    socklen_t len = sizeof a;
    int port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    close(s);
    return port;
}

bool Accepts(int port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    close(s);
    return ok;
}

} // namespace

TFTPServer::TFTPServer(const std::string& root, const std::string& user,
                       const std::string& password, const std::string& logFile, int port)
    : FLog(logFile) {
    if (port == 0)
        port = FreePort();
    const std::string portText = std::to_string(port);
    // Debian's interpreter: the first python3 on PATH may lack pyftpdlib.
    std::vector<std::string> args = {
        "/usr/bin/python3", LX_FTP_SERVER_SCRIPT, portText, root, user, password, logFile};
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        // The server dies with the test program, however that ends (a
        // sanitizer abort skips the destructor), and inherits none of its
        // descriptors: a build lock held by whoever ran the tests would
        // otherwise stay held for as long as an orphaned server lives.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        close_range(3, ~0U, 0);
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) {
            dup2(quiet, STDERR_FILENO);
            dup2(quiet, STDOUT_FILENO);
        }
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    FPid = pid;
    // Start-up takes a fraction of a second; give up after ten.
    for (int i = 0; i < 500; ++i) {
        if (Accepts(port)) {
            FPort = port;
            return;
        }
        int status = 0;
        if (waitpid(FPid, &status, WNOHANG) == FPid) {
            FPid = -1;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ADD_FAILURE() << "the FTP server did not start on port " << port;
    Stop();
}

TFTPServer::~TFTPServer() {
    Stop();
}

void TFTPServer::Stop() {
    if (FPid <= 0)
        return;
    kill(FPid, SIGKILL);
    int status = 0;
    waitpid(FPid, &status, 0);
    FPid = -1;
}

int TFTPServer::CommandCount(const std::string& command) const {
    std::ifstream in(FLog);
    std::string line;
    int n = 0;
    const std::string mark = "<- " + command;
    while (std::getline(in, line)) {
        const auto p = line.find(mark);
        if (p != std::string::npos &&
            (p + mark.size() == line.size() || line[p + mark.size()] == ' '))
            ++n;
    }
    return n;
}

} // namespace lx::test
