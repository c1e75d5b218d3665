#pragma once
// A working folder on a real FTP server: the two packs of TWorkFolderTest in
// the server's folder "packs", the program's FTP service with short
// time-outs (a dead server fails at once, a silent one within seconds).

#include "FTPServer.h"
#include "WorkFolderTest.h"
#include "editor/uProgressViewer.h"
#include "editor/uRemote.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace lx::test {

inline const std::string kFTPUser = "anna";
inline const std::string kFTPPassword = "Pw-7731secret";

/// Records the transfer events of the progress manager; may act on them.
class TRecorder : public editor::IProgressViewer {
public:
    TRecorder() { editor::ProgressManager().RegisterViewer(this, this); }
    ~TRecorder() override { editor::ProgressManager().RegisterViewer(this, nullptr); }
    void Progress(const void*, int mode, int kind, long long position, long long maximum) override {
        if (kind == 0)
            Maximum = maximum;
        if (kind == 0 && maximum > 0)
            Maxima.push_back(maximum);
        if (kind == 2) {
            Last = position;
            Modes.push_back(mode);
            if (OnWork)
                OnWork(position, maximum);
        }
        if (kind == 1 && Last > 0) {
            ++Ends;
            Done = Last;
            Last = 0;
            if (OnEnd)
                OnEnd(mode, Maximum);
        }
    }
    void ActionsChanged(const void*, const std::vector<std::string>&) override {}
    void Started(const void*) override {}
    void Finished(const void*) override {}
    std::vector<long long> Maxima;
    std::vector<int> Modes;
    long long Last = 0; ///< position of the running transfer
    long long Done = 0; ///< the last position of the transfer that ended last
    int Ends = 0;
    std::function<void(long long, long long)> OnWork;
    std::function<void(int, long long)> OnEnd; ///< mode, maximum
    long long Maximum = 0;
};

class TFTPTest : public TWorkFolderTest {
protected:
    void SetUp() override {
        TWorkFolderTest::SetUp();
        // The temporary INI copies go to the test's own folder.
        Temp = Dir.File("tmp");
        std::filesystem::create_directories(Temp);
        const char* old = getenv("TMPDIR");
        FOldTmp = old ? std::optional<std::string>(old) : std::nullopt;
        setenv("TMPDIR", Temp.c_str(), 1);
        Root = Dir.File("server");
        Dir.Write("server/packs/RUS.lng", kRus);
        Dir.Write("server/packs/ENU.lng", kEnu);
        Server = std::make_unique<TFTPServer>(Root, kFTPUser, kFTPPassword, Dir.File("ftp.log"));
        ASSERT_NE(Server->Port(), 0);
        Service.Man().SetTimeouts({2000, 3, 3, 1});
    }
    void TearDown() override {
        Server.reset();
        if (FOldTmp)
            setenv("TMPDIR", FOldTmp->c_str(), 1);
        else
            unsetenv("TMPDIR");
        TWorkFolderTest::TearDown();
    }
    editor::TFTPUserData Account(const std::string& folder,
                                 const std::string& password = kFTPPassword) const {
        return {"127.0.0.1", kFTPUser, password, folder, std::to_string(Server->Port())};
    }
    std::string Address(const std::string& folder,
                        const std::string& password = kFTPPassword) const {
        return editor::BuildFTPURL(Account(folder, password));
    }
    std::string ServerFile(const std::string& path) const { return Root + "/" + path; }

    std::string Root;
    std::string Temp;
    std::unique_ptr<TFTPServer> Server;
    editor::TFTPService Service;

private:
    std::optional<std::string> FOldTmp;
};

} // namespace lx::test
