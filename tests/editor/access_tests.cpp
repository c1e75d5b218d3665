// The advisory lock of a working folder, on real files, with the questions
// answered by the scripted host UI service.
#include "editor/uAccess.h"
#include "editor/uVars.h"
#include "engine/uIni.h"
#include "support/TempDir.h"
#include "support_qt/ScriptedHostUI.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace lx;
using namespace lx::editor;
using lx::test::TempDir;

namespace {

class Access : public test::TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        Folder = Dir.File("work");
        std::filesystem::create_directories(Folder);
        PackAccessGranted() = false;
    }
    std::string Share() const { return Folder + "/share.ini"; }
    std::string Value(const char* key) const { return ReadStr("access", key, "<none>", Share()); }
    std::string Folder;
    test::TScriptedHostUI UI;
};

} // namespace

TEST_F(Access, IdentityIsCreatedOnceAndKept) {
    const std::string id = GetUserGUID();
    ASSERT_FALSE(id.empty());
    EXPECT_EQ(id.find_first_not_of("0123456789"), std::string::npos);
    EXPECT_TRUE(id == "0" || id[0] != '0');
    EXPECT_LE(std::stoull(id), 4294967295ULL);
    EXPECT_EQ(GetUserGUID(), id);
    EXPECT_EQ(ReadStr("user", "GUID", "", MainIniFileName()), id);
}

TEST_F(Access, AFreeFolderOpensAndAsksTheNameOnce) {
    UI.ExpectInput("Anna");
    EXPECT_EQ(EnterPackSet(Folder), TEnterResult::Granted);
    EXPECT_TRUE(PackAccessGranted());
    EXPECT_EQ(Value("used"), "true");
    EXPECT_EQ(Value("usedby"), GetUserGUID());
    EXPECT_EQ(Value("username"), "Anna");
    ASSERT_EQ(UI.Questions().size(), 1u);
    EXPECT_TRUE(UI.Questions()[0].Text.contains(QString::fromUtf8("Регистрация пользователя")));
    EXPECT_EQ(ReadStr("user", "name", "", MainIniFileName()), "Anna");

    LeavePackSet(Folder);
    EXPECT_EQ(Value("used"), "false");
    EXPECT_EQ(Value("usedby"), "");
    EXPECT_EQ(Value("username"), "Anna"); // it names the last holder

    EXPECT_EQ(EnterPackSet(Folder), TEnterResult::Granted); // no question the second time
    EXPECT_EQ(UI.Questions().size(), 1u);
}

TEST_F(Access, AnEmptyNameIsAskedAgainNextTime) {
    UI.ExpectInput("");
    EnterPackSet(Folder);
    EXPECT_EQ(ReadStr("user", "name", "<none>", MainIniFileName()), "");
    UI.ExpectInput("", true); // cancelled: nothing stored
    EnterPackSet(Folder);
    EXPECT_EQ(UI.Questions().size(), 2u);
}

TEST_F(Access, OwnStaleLockLetsTheSameUserIn) {
    WriteStr("user", "name", "Anna", MainIniFileName());
    WriteStr("access", "used", "TRUE", Share());
    WriteStr("access", "usedby", GetUserGUID(), Share());
    EXPECT_EQ(EnterPackSet(Folder), TEnterResult::Granted);
    EXPECT_TRUE(UI.Questions().empty());
}

TEST_F(Access, AForeignLockAsksCancelRetryIgnore) {
    WriteStr("user", "name", "Anna", MainIniFileName());
    WriteStr("access", "used", "true", Share());
    WriteStr("access", "usedby", "C:\\Delphi\\bin\\delphi32.exe", Share());
    WriteStr("access", "username", "DELPHI Editor", Share());

    UI.Expect(host::TMsgResult::Cancel);
    EXPECT_EQ(EnterPackSet(Folder), TEnterResult::Cancelled);
    ASSERT_EQ(UI.Questions().size(), 1u);
    const auto& q = UI.Questions()[0];
    EXPECT_EQ(q.Buttons, host::TMsgButtons::CancelRetryIgnore);
    EXPECT_EQ(q.Kind, host::TMsgKind::Warning);
    EXPECT_TRUE(
        q.Text.startsWith(QString::fromUtf8("   Этот языковой пакет в данный момент редактируется "
                                            "пользователем \"DELPHI Editor\".\r\n")));
    EXPECT_EQ(q.Text.count(QStringLiteral("\r\n")), 3);

    // Retry checks again; Ignore opens without the lock.
    UI.Expect(host::TMsgResult::Retry);
    UI.Expect(host::TMsgResult::Ignore);
    EXPECT_EQ(EnterPackSet(Folder), TEnterResult::Ignored);
    EXPECT_FALSE(PackAccessGranted());
    EXPECT_EQ(UI.Questions().size(), 3u);
    EXPECT_EQ(Value("usedby"), "C:\\Delphi\\bin\\delphi32.exe");

    // The first upload asks; closing leaves the other holder's record.
    UI.Expect(host::TMsgResult::No);
    EXPECT_FALSE(ConfirmUploadWithoutAccess());
    EXPECT_EQ(UI.Questions().back().Buttons, host::TMsgButtons::YesNo);
    LeavePackSet(Folder);
    EXPECT_EQ(Value("used"), "true");

    // The holder leaves while the question is open: Retry gets in.
    const std::size_t asked = UI.Questions().size();
    UI.Expect(host::TMsgResult::Retry, [this] { WriteStr("access", "used", "false", Share()); });
    EXPECT_EQ(EnterPackSet(Folder), TEnterResult::Granted);
    EXPECT_EQ(UI.Questions().size(), asked + 1);
    EXPECT_EQ(Value("usedby"), GetUserGUID());
    LeavePackSet(Folder);
    WriteStr("access", "used", "true", Share());
    WriteStr("access", "usedby", "someone else", Share());
    UI.Expect(host::TMsgResult::Ignore);
    EXPECT_EQ(EnterPackSet(Folder), TEnterResult::Ignored);

    // Taking the set over grants access: uploads no longer ask, closing clears.
    EXPECT_TRUE(TakeOverPack(Folder));
    EXPECT_TRUE(PackAccessGranted());
    EXPECT_EQ(Value("usedby"), GetUserGUID());
    EXPECT_TRUE(ConfirmUploadWithoutAccess());
    LeavePackSet(Folder);
    EXPECT_EQ(Value("used"), "false");
    EXPECT_FALSE(TakeOverPack("")); // no set open
}

TEST_F(Access, LongValuesAreCutAndAMissingFolderIsNotAnError) {
    WriteStr("user", "name", std::string(300, 'n'), MainIniFileName());
    EnterPackSet(Folder);
    EXPECT_EQ(Value("username").size(), 255u);
    // A folder that cannot be written: the lock informs only, nothing fails.
    EXPECT_TRUE(CanEnterPack(Dir.File("missing")));
    EXPECT_TRUE(RegisterEntry(Dir.File("missing")));
    EXPECT_FALSE(std::filesystem::exists(Dir.File("missing")));
}
