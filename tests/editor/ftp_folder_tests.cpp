// Working folders on a real FTP server: opening into the cache with the lock
// on the server, writing back changed packs, the failures on the way, and the
// FTP dialogs of the main window and the start-up.
#include "FTPTest.h"
#include "editor/uAccess.h"
#include "editor/uFTPAccount.h"
#include "editor/uLangPacks.h"
#include "editor/uLangPacksFrame.h"
#include "editor/uMain.h"
#include "editor/uPackCache.h"
#include "editor/uStartUp.h"
#include "editor/uVars.h"
#include "engine/uIni.h"
#include "platform/Files.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

using namespace lx;
using namespace lx::editor;
using lx::test::TempDir;

namespace {

class FTPFolder : public test::TFTPTest {
protected:
    std::string Share(const std::string& key, const std::string& folder = "packs") const {
        return ReadStr("access", key, "<none>", ServerFile(folder + "/share.ini"));
    }
    void Edit(int pack, const std::u16string& text) {
        static_cast<TXMLTreeItem*>(Set.GetPack(pack)->AddGlobalItem("a"))->SetText(text);
        Set.SaveModifiedPacks();
    }
    bool NoPasswordIn(const std::vector<test::TQuestion>& questions) const {
        for (const auto& q : questions)
            if (q.Text.contains(QString::fromStdString(test::kFTPPassword)))
                return false;
        return true;
    }
    TLangPackSet Set;
};

const platform::TFileTime kOld = 1000000000LL * 1000000000LL; // 2001

} // namespace

// Open, edit, upload of the changed packs only (package.ini always), close:
// the lock lives in share.ini on the server all along.
TEST_F(FTPFolder, OpenEditUploadClose) {
    Dir.Write("server/packs/package.ini", "[lpack_RUS]\r\nneedtochange_a=true\r\n");
    const std::string folder = Address("packs");
    ASSERT_TRUE(Set.OpenWorkDir(folder));
    EXPECT_EQ(UI.Questions().size(), 0u);
    ASSERT_EQ(Set.GetPackCount(), 2);
    EXPECT_EQ(Set.GetPack(1)->GetItemValue_("a"), u"один");
    EXPECT_TRUE(platform::FileExists(CacheDir() + "package.ini"));
    EXPECT_EQ(CachedWorkDir(), folder + "\\");
    EXPECT_EQ(Share("used"), "true");
    EXPECT_EQ(Share("usedby"), GetUserGUID());
    EXPECT_EQ(Share("username"), "Anna");

    Edit(0, u"changed"); // ENU
    platform::SetFileTime(ServerFile("packs/RUS.lng"), kOld);
    const int stores = Server->CommandCount("STOR");
    ASSERT_TRUE(Set.UploadPacks());
    TXMLTreeItem back;
    back.OpenFromFile(ServerFile("packs/ENU.lng"));
    EXPECT_EQ(back.GetItemValue_("a"), u"changed");
    EXPECT_EQ(platform::GetFileTime(ServerFile("packs/RUS.lng")), kOld); // not sent
    EXPECT_EQ(Server->CommandCount("STOR") - stores, 2);                 // ENU.lng and package.ini
    EXPECT_TRUE(ChangedCachePacks().empty());
    for (const char* left : {"ENU.lng.part", "package.ini.part", "share.ini.part"})
        EXPECT_FALSE(platform::FileExists(ServerFile(std::string("packs/") + left))) << left;

    ASSERT_TRUE(Set.CloseWorkDir());
    EXPECT_EQ(Share("used"), "false");
    EXPECT_EQ(Share("usedby"), "");
    EXPECT_EQ(UI.Questions().size(), 0u);
    EXPECT_TRUE(std::filesystem::is_empty(Temp));
}

// The login folder ("//") and nested folders open the packs of exactly that
// folder.
TEST_F(FTPFolder, OpensTheNamedFolderAtAnyDepth) {
    Dir.Write("server/DEU.lng", "<a>eins</a>\r");
    Dir.Write("server/packs/de/FRA.lng", "<a>un</a>\r");
    struct Case {
        const char* Folder;
        const char* Pack;
    } cases[] = {{"", "DEU"}, {"packs/de", "FRA"}, {"packs", "ENU"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Set.OpenWorkDir(Address(c.Folder))) << c.Folder;
        EXPECT_EQ(Set.GetPackNames(false)[0], c.Pack) << c.Folder;
        EXPECT_EQ(Share("used", c.Folder), "true") << c.Folder;
        ASSERT_FALSE(Set.OpenWorkDir("")); // nothing open afterwards
        EXPECT_EQ(Share("used", c.Folder), "false") << c.Folder;
    }
    EXPECT_EQ(Set.GetPackCount(), 0);
    EXPECT_EQ(UI.Questions().size(), 0u);
}

TEST_F(FTPFolder, ALockHeldOnTheServerIsReported) {
    Dir.Write("server/packs/share.ini", "[access]\r\nused=true\r\nusedby=1\r\nusername=Boris\r\n");
    UI.Expect(host::TMsgResult::Cancel);
    EXPECT_FALSE(Set.OpenWorkDir(Address("packs")));
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_TRUE(UI.Questions()[0].Text.contains(QStringLiteral("\"Boris\"")));
    EXPECT_EQ(Share("username"), "Boris");
}

TEST_F(FTPFolder, AWrongPasswordFindsNothing) {
    UI.Expect(host::TMsgResult::Abort);
    EXPECT_FALSE(Set.OpenWorkDir(Address("packs", "wrong-one")));
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_EQ(UI.Questions()[0].Text,
              QString::fromUtf8("Ресурс [ftp://anna@127.0.0.1:%1/packs] не доступен!")
                  .arg(Server->Port()));
    EXPECT_TRUE(CachePackFiles().empty());
    EXPECT_FALSE(UI.Questions()[0].Text.contains(QStringLiteral("wrong-one")));
}

// The server dies after the first pack: the next file fails its series, the
// question comes, Abort ends the opening with the error shown; the cache
// keeps what came, but nothing offers it for recovery.
TEST_F(FTPFolder, TheServerStopsDuringTheDownload) {
    test::TRecorder r;
    r.OnEnd = [&](int mode, long long maximum) {
        if (mode == 0 && maximum > 0) // a file's retrieval, not a listing
            Server->Stop();
    };
    UI.Expect(host::TMsgResult::Abort);
    UI.Expect(host::TMsgResult::Ok);
    EXPECT_FALSE(Set.OpenWorkDir(Address("packs")));
    ASSERT_EQ(UI.Questions().size(), 2u);
    EXPECT_TRUE(UI.Questions()[0].Text.contains(QStringLiteral("/packs/RUS.lng] ")));
    EXPECT_EQ(UI.Questions()[1].Buttons, host::TMsgButtons::OK);
    EXPECT_TRUE(NoPasswordIn(UI.Questions()));
    EXPECT_TRUE(platform::FileExists(CacheDir() + "ENU.lng"));
    EXPECT_FALSE(platform::FileExists(CacheDir() + "RUS.lng"));
    EXPECT_EQ(CachedWorkDir(), "");
    EXPECT_EQ(Set.WorkDir(), "");
}

// A pack the server will not take is skipped with Ignore; it stays changed
// and goes at the next upload, the others go now.
TEST_F(FTPFolder, AnIgnoredPackStaysChanged) {
    ASSERT_TRUE(Set.OpenWorkDir(Address("packs")));
    Edit(0, u"enu changed");
    Edit(1, u"rus changed");
    std::filesystem::create_directories(ServerFile("packs/ENU.lng.part")); // STOR fails
    UI.Expect(host::TMsgResult::Ignore);
    ASSERT_TRUE(Set.UploadPacks());
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_TRUE(UI.Questions()[0].Text.contains(QStringLiteral("/packs/ENU.lng]")));
    EXPECT_TRUE(NoPasswordIn(UI.Questions()));
    EXPECT_EQ(ChangedCachePacks(), std::vector<std::string>{CacheDir() + "ENU.lng"});
    TXMLTreeItem rus;
    rus.OpenFromFile(ServerFile("packs/RUS.lng"));
    EXPECT_EQ(rus.GetItemValue_("a"), u"rus changed");
    std::filesystem::remove(ServerFile("packs/ENU.lng.part"));
    ASSERT_TRUE(Set.UploadPacks());
    TXMLTreeItem enu;
    enu.OpenFromFile(ServerFile("packs/ENU.lng"));
    EXPECT_EQ(enu.GetItemValue_("a"), u"enu changed");
    EXPECT_EQ(UI.Questions().size(), 1u);
}

namespace {

// Runs `step` on the dialog that opens next (modal dialogs block the test).
void OnDialog(std::function<void(QWidget*)> step) {
    QTimer::singleShot(0, [step] {
        QWidget* d = QApplication::activeModalWidget();
        ASSERT_NE(d, nullptr);
        step(d);
    });
}

QLineEdit* Field(QWidget* d, const char* name) {
    auto* e = d->findChild<QLineEdit*>(QString::fromLatin1(name));
    EXPECT_NE(e, nullptr) << name;
    return e;
}

} // namespace

// The main window's FTP folder command: the dialog with its connection test,
// then the folder opens; reopened, the dialog shows the folder's parts.
TEST_F(FTPFolder, TheFTPFolderCommandOfTheMainWindow) {
    TfMain w;
    auto* command = w.findChild<QAction*>(QStringLiteral("miFTPWorkDir"));
    ASSERT_NE(command, nullptr);
    UI.Expect(host::TMsgResult::Ok); // the test's result
    OnDialog([&](QWidget* d) {
        EXPECT_EQ(d->objectName(), "fFTPAccount");
        EXPECT_EQ(Field(d, "edtPort")->text(), "21");
        EXPECT_EQ(Field(d, "edtPassword")->echoMode(), QLineEdit::Password);
        QTest::keyClicks(Field(d, "edtHost"), "127.0.0.1");
        QTest::keyClicks(Field(d, "edtUser"), QString::fromStdString(test::kFTPUser));
        QTest::keyClicks(Field(d, "edtPassword"), QString::fromStdString(test::kFTPPassword));
        QTest::keyClicks(Field(d, "edtFolder"), "packs");
        Field(d, "edtPort")->clear();
        QTest::keyClicks(Field(d, "edtPort"), QString::number(Server->Port()));
        QTest::mouseClick(d->findChild<QPushButton*>("btnTest"), Qt::LeftButton);
        QTest::mouseClick(d->findChild<QPushButton*>("btnOk"), Qt::LeftButton);
    });
    command->trigger();
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_EQ(UI.Questions()[0].Text, QString::fromUtf8("Проверка соединения прошла удачно."));
    EXPECT_EQ(w.LangPacks()->WorkDir(), Address("packs"));
    EXPECT_EQ(w.LangPacks()->Set().GetPackCount(), 2);
    EXPECT_TRUE(w.windowTitle().contains(
        QStringLiteral("[ftp://anna@127.0.0.1:%1/packs]").arg(Server->Port())));
    EXPECT_FALSE(w.windowTitle().contains(QString::fromStdString(test::kFTPPassword)));

    // Reopened: filled from the open folder; a wrong password fails the test; Cancel.
    UI.Expect(host::TMsgResult::Ok);
    OnDialog([&](QWidget* d) {
        EXPECT_EQ(Field(d, "edtPort")->text(), QString::number(Server->Port()));
        EXPECT_EQ(Field(d, "edtFolder")->text(), "packs");
        EXPECT_EQ(Field(d, "edtHost")->text(), "127.0.0.1");
        QTest::keyClicks(Field(d, "edtPassword"), "x");
        QTest::mouseClick(d->findChild<QPushButton*>("btnTest"), Qt::LeftButton);
        QTest::mouseClick(d->findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
    });
    command->trigger();
    ASSERT_EQ(UI.Questions().size(), 2u);
    EXPECT_EQ(UI.Questions()[1].Text, QString::fromUtf8("Проверка соединения прошла неудачно!"));
    EXPECT_EQ(w.LangPacks()->WorkDir(), Address("packs")); // still open
    EXPECT_EQ(Share("used"), "true");
}

// The start-up dialog lists FTP folders without their passwords and still
// opens the whole address.
TEST_F(FTPFolder, TheStartUpDialogHidesPasswords) {
    const std::string other = Address("packs/de");
    TfStartUp d(Address("packs"), {other, Work});
    auto* list = d.findChild<QComboBox*>("cbxOther");
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < list->count(); ++i)
        EXPECT_FALSE(list->itemText(i).contains(QString::fromStdString(test::kFTPPassword)));
    EXPECT_FALSE(d.findChild<QLineEdit*>("edtDefault")
                     ->text()
                     .contains(QString::fromStdString(test::kFTPPassword)));
    d.findChild<QRadioButton*>("rbtnOther")->setChecked(true);
    EXPECT_EQ(d.Choice(), other);
    list->setCurrentIndex(1);
    EXPECT_EQ(d.Choice(), Work);
    list->setEditText(QStringLiteral("/typed/folder"));
    EXPECT_EQ(d.Choice(), "/typed/folder");
}

TEST(FTPAccountDialog, AnAccountTheAddressCannotHoldIsRefused) {
    TfFTPAccount d(TFTPUserData{});
    auto* user = d.findChild<QLineEdit*>("edtUser");
    auto* password = d.findChild<QLineEdit*>("edtPassword");
    auto* ok = d.findChild<QPushButton*>("btnOk");
    auto* test = d.findChild<QPushButton*>("btnTest");
    struct TCase {
        const char* user;
        const char* password;
        bool usable;
    };
    for (const TCase& c :
         {TCase{"anna", "secret", true}, TCase{"anna", "p@ss", false}, TCase{"anna", "a/b", false},
          TCase{"an:na", "secret", false}, TCase{"an@na", "secret", false}, TCase{"", "", true}}) {
        user->setText(QString::fromUtf8(c.user));
        password->setText(QString::fromUtf8(c.password));
        EXPECT_EQ(ok->isEnabled(), c.usable) << c.user << " " << c.password;
        EXPECT_EQ(test->isEnabled(), c.usable) << c.user << " " << c.password;
    }
}
