// Single-file transfers, listing and the connection cache against a real
// FTP server, including a server that stops while it is used.
#include "FTPTest.h"
#include "editor/uVars.h"
#include "engine/uIni.h"
#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace lx;
using namespace lx::editor;
using lx::test::TempDir;

namespace {

class FTPTransfer : public test::TFTPTest {};
using test::TRecorder;

} // namespace

// Every operation acts in the folder its address names, at any depth, and a
// client reused for another folder of the same key does not stay where its
// previous transfer left it.
TEST_F(FTPTransfer, TransfersActInTheNamedFolderAtAnyDepth) {
    for (const char* folder : {"", "packs", "packs/de", "packs/fr"})
        std::filesystem::create_directories(ServerFile(folder));
    const std::string local = Dir.Write("up.lng", "content");
    for (const std::string folder : {"packs/de", "packs/fr", "", "packs", "packs/de"}) {
        const std::string text = "in [" + folder + "]";
        Dir.Write("up.lng", text);
        ASSERT_EQ(UploadFile(Account(folder), local, Address(folder) + "/X.lng"),
                  TTransferResult::Done);
        const std::string onServer = folder.empty() ? "X.lng" : folder + "/X.lng";
        EXPECT_EQ(TempDir::Read(ServerFile(onServer)), text);
        EXPECT_FALSE(platform::FileExists(ServerFile(onServer + ".part")));
        ASSERT_EQ(DownloadFile(Account(folder), Address(folder) + "/X.lng", Dir.File("down")),
                  TTransferResult::Done);
        EXPECT_EQ(TempDir::Read(Dir.File("down")), text);
    }
    // packs/de and packs/fr share a key: one client each for "/", "/packs/".
    EXPECT_EQ(Service.Man().ConnectionCount(), 2u);
    EXPECT_EQ(UI.Questions().size(), 0u);
}

TEST_F(FTPTransfer, ListsTheFolderWithTheMask) {
    Dir.Write("server/packs/deu.LNG", "x");
    Dir.Write("server/packs/notes.txt", "x");
    Dir.Write("server/packs/FRA.lng.part", "x");
    Dir.Write("server/packs/sub/ITA.lng", "x");
    std::vector<std::string> names;
    ListRemote(Account("packs"), " *.lng ", names);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"ENU.lng", "RUS.lng", "deu.LNG"}));
    EXPECT_THROW(ListRemote(Account("nothere"), "*.lng", names), std::exception);
}

TEST_F(FTPTransfer, ExistenceAndConnectionTests) {
    std::filesystem::create_directories(ServerFile("empty"));
    EXPECT_TRUE(RemoteExists(Address("packs") + "/"));
    EXPECT_TRUE(RemoteExists(Address("packs") + "/RUS.lng"));
    EXPECT_TRUE(RemoteExists(Address("") + "/")); // the login folder holds "packs"
    EXPECT_FALSE(RemoteExists(Address("packs") + "/share.ini"));
    EXPECT_FALSE(RemoteExists(Address("empty") + "/")); // an empty folder counts as missing
    EXPECT_FALSE(RemoteExists(Address("nothere") + "/"));
    EXPECT_TRUE(TestConnection(Account("packs")));
    EXPECT_FALSE(TestConnection(Account("nothere")));
    EXPECT_FALSE(TestConnection(Account("packs", "wrong")));
    EXPECT_FALSE(RemoteExists(Address("packs", "wrong") + "/"));
    Server->Stop();
    EXPECT_FALSE(TestConnection(Account("packs")));
    EXPECT_EQ(UI.Questions().size(), 0u);
}

// A file the server does not have is given up without a question after one
// series; repeat = 0 (or below) means three attempts.
TEST_F(FTPTransfer, AMissingFileIsSkippedAfterOneSeries) {
    struct Case {
        const char* Repeat;
        int Attempts;
    } cases[] = {{nullptr, 3}, {"0", 3}, {"-2", 3}, {"1", 1}, {"5", 5}};
    int before = 0;
    for (const auto& c : cases) {
        if (c.Repeat)
            WriteStr("FTP", "repeat", c.Repeat, MainIniFileName());
        const std::string local = Dir.File("missing.lng");
        EXPECT_EQ(DownloadFile(Account("packs"), Address("packs") + "/DEU.lng", local),
                  TTransferResult::Missing);
        EXPECT_FALSE(platform::FileExists(local));
        // Each attempt asks for the file's size first, and learns it is not there.
        const int asked = Server->CommandCount("SIZE");
        EXPECT_EQ(asked - before, c.Attempts) << (c.Repeat ? c.Repeat : "(none)");
        before = asked;
    }
    EXPECT_EQ(UI.Questions().size(), 0u);
}

TEST_F(FTPTransfer, ProgressIsReportedWithTheFileSize) {
    const std::string big(100000, 'x');
    Dir.Write("server/packs/BIG.lng", big);
    TRecorder r;
    ASSERT_EQ(DownloadFile(Account("packs"), Address("packs") + "/BIG.lng", Dir.File("b")),
              TTransferResult::Done);
    ASSERT_FALSE(r.Maxima.empty());
    EXPECT_EQ(r.Maxima.back(), 100000);
    EXPECT_EQ(r.Done, 100000);
    EXPECT_EQ(r.Ends, 1);
    EXPECT_EQ(r.Modes.front(), 0);
    r.Modes.clear();
    ASSERT_EQ(UploadFile(Account("packs"), Dir.File("b"), Address("packs") + "/BIG2.lng"),
              TTransferResult::Done);
    EXPECT_EQ(r.Maxima.back(), 100000);
    ASSERT_FALSE(r.Modes.empty());
    EXPECT_EQ(r.Modes.front(), 1);
}

// The server dies: every series fails, the question names the file (never
// the password); Retry runs another series, Ignore skips, Abort ends.
TEST_F(FTPTransfer, AStoppedServerAsksAfterEachSeries) {
    WriteStr("FTP", "repeat", "2", MainIniFileName());
    const std::string local = Dir.Write("cache/RUS.lng", "old copy");
    Server->Stop();
    UI.Expect(host::TMsgResult::Retry);
    UI.Expect(host::TMsgResult::Abort);
    EXPECT_THROW(DownloadFile(Account("packs"), Address("packs") + "/RUS.lng", local),
                 ETransferAborted);
    EXPECT_EQ(TempDir::Read(local), "old copy"); // never replaced by a broken copy
    UI.Expect(host::TMsgResult::Ignore);
    EXPECT_EQ(UploadFile(Account("packs"), local, Address("packs") + "/RUS.lng"),
              TTransferResult::Skipped);
    ASSERT_EQ(UI.Questions().size(), 3u);
    for (const auto& q : UI.Questions()) {
        EXPECT_EQ(q.Buttons, host::TMsgButtons::AbortRetryIgnore);
        EXPECT_TRUE(q.Text.contains(QStringLiteral("packs/RUS.lng"))) << q.Text.toStdString();
        EXPECT_FALSE(q.Text.contains(QString::fromStdString(test::kFTPPassword)));
    }
    EXPECT_TRUE(UI.Questions()[0].Text.startsWith(
        QString::fromUtf8("Не удалось загрузить файл [ftp://anna@127.0.0.1:")));
    EXPECT_TRUE(UI.Questions()[0].Text.contains(QString::fromUtf8("] с сервер")));
    EXPECT_TRUE(UI.Questions()[2].Text.contains(QString::fromUtf8("RUS.lng]на сервер")));
}

// An upload that breaks off leaves the server's pack as it was.
TEST_F(FTPTransfer, ABrokenUploadLeavesTheOldPack) {
    const std::string local = Dir.Write("BIG.lng", std::string(4000000, 'n'));
    Dir.Write("server/packs/BIG.lng", "the old pack");
    TRecorder r;
    r.OnWork = [&](long long position, long long maximum) {
        if (position > 0 && position < maximum)
            Server->Stop();
    };
    UI.Expect(host::TMsgResult::Abort);
    EXPECT_THROW(UploadFile(Account("packs"), local, Address("packs") + "/BIG.lng"),
                 ETransferAborted);
    EXPECT_EQ(TempDir::Read(ServerFile("packs/BIG.lng")), "the old pack");
}

// A kept client whose connection dropped is connected again before use.
TEST_F(FTPTransfer, ALostConnectionIsMadeAgain) {
    ASSERT_TRUE(RemoteExists(Address("packs") + "/RUS.lng"));
    const int port = Server->Port();
    Server->Stop();
    EXPECT_FALSE(RemoteExists(Address("packs") + "/RUS.lng"));
    // A new server on the same port and root: the kept client finds it.
    Server.reset();
    Server = std::make_unique<test::TFTPServer>(Root, test::kFTPUser, test::kFTPPassword,
                                                Dir.File("ftp2.log"), port);
    ASSERT_NE(Server->Port(), 0);
    EXPECT_TRUE(RemoteExists(Address("packs") + "/RUS.lng"));
    EXPECT_EQ(Service.Man().ConnectionCount(), 1u);
}

TEST_F(FTPTransfer, INIFilesOnTheServer) {
    const std::string share = Address("packs") + "/share.ini";
    EXPECT_EQ(RemoteReadStr("access", "used", "false", share), "false"); // none yet
    RemoteWriteKeys({{"access", "used", "", "true"}, {"access", "usedby", "", "42"}}, share);
    EXPECT_EQ(ReadStr("access", "used", "", ServerFile("packs/share.ini")), "true");
    RemoteWriteStr("access", "username", std::string(300, 'u'), share);
    TINIRecArray read{{"access", "used", "", "x"},
                      {"access", "usedby", "", "x"},
                      {"access", "username", "", "x"},
                      {"access", "other", "", "dflt"}};
    RemoteReadKeys(read, share);
    EXPECT_EQ(read[0].Value, "true"); // kept by the second write
    EXPECT_EQ(read[1].Value, "42");
    EXPECT_EQ(read[2].Value, std::string(255, 'u'));
    EXPECT_EQ(read[3].Value, "dflt");
    // A download that is given up does not upload a file without the keys.
    Server->Stop();
    UI.Expect(host::TMsgResult::Abort);
    RemoteWriteStr("access", "used", "false", share);
    EXPECT_EQ(ReadStr("access", "usedby", "", ServerFile("packs/share.ini")), "42");
    EXPECT_EQ(ReadStr("access", "used", "", ServerFile("packs/share.ini")), "true");
    // No temporary copy is left behind.
    EXPECT_TRUE(std::filesystem::is_empty(Temp));
}
