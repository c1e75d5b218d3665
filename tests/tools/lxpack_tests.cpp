// lxpack from the outside: every test starts the built executable in its own
// temporary folder and looks at exit status, standard output, standard error
// and the bytes of the files it leaves.

#include "platform/IniFile.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <initializer_list>
#include <ostream>
#include <poll.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using lx::test::TempDir;

struct TResult {
    int Code = -1;
    std::string Out, Err;
};

// Runs lxpack with `args` in `dir`, standard input from /dev/null. The ANSI code
// page is fixed at 1251 so that the expected ANSI bytes hold whatever the
// environment of the test run says.
TResult RunLxpack(const std::string& dir, const std::vector<std::string>& args) {
    // Everything the child needs is prepared before fork.
    std::vector<std::string> argStore{LXPACK_PATH};
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argStore)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string_view codePageVar = "LX_ANSI_CODEPAGE=";
    std::vector<std::string> envStore;
    for (char** e = environ; *e; ++e)
        if (std::string_view(*e).substr(0, codePageVar.size()) != codePageVar)
            envStore.emplace_back(*e);
    envStore.emplace_back(std::string(codePageVar) + "1251");
    std::vector<char*> envp;
    for (std::string& e : envStore)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    TResult r;
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe: " << std::strerror(errno);
        return r;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        ADD_FAILURE() << "fork: " << std::strerror(errno);
        return r;
    }
    if (pid == 0) {
        const int in = open("/dev/null", O_RDONLY);
        if (in < 0 || chdir(dir.c_str()) != 0 || dup2(in, 0) < 0 || dup2(out[1], 1) < 0 ||
            dup2(err[1], 2) < 0)
            _exit(126);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    // Both pipes are drained together: a child that fills one while the test
    // waits on the other would never finish.
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&r.Out, &r.Err};
    int openPipes = 2;
    while (openPipes > 0) {
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            ADD_FAILURE() << "poll: " << std::strerror(errno);
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buf[4096];
            const ssize_t n = read(fds[i].fd, buf, sizeof buf);
            if (n > 0) {
                sinks[i]->append(buf, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                close(fds[i].fd);
                fds[i].fd = -1;
                --openPipes;
            }
        }
    }
    for (pollfd& p : fds)
        if (p.fd >= 0)
            close(p.fd);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    r.Code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

// Pack lines, each ended by the single CR of the file format.
std::string Lines(std::initializer_list<std::string_view> lines) {
    std::string s;
    for (std::string_view l : lines) {
        s += l;
        s += '\r';
    }
    return s;
}

// A UTF8 pack with a folder inside a folder, an empty variable, and values that
// need escaping in a dump (tab, backslash, a control byte, a raw CR LF) or in
// the file ('<').
const std::string kSample = Lines({
    "<SYSTEM>",
    "  <ENCODING>UTF8</ENCODING>",
    "  <LCID>$0419</LCID>",
    "</SYSTEM>",
    "<fMain>",
    "  <Caption>Главное окно</Caption>",
    "  <btnOK>",
    "    <Caption>OK</Caption>",
    "  </btnOK>",
    "  <lblNote>Tab\there, back\\slash\x01, a &lt; b</lblNote>",
    "  <lblEmpty></lblEmpty>",
    "</fMain>",
    "<resourcestring>",
    "  <65001>Строка 1\r\nСтрока 2</65001>",
    "</resourcestring>",
});

const char* const kSampleDump = R"(1 SYSTEM/
2 SYSTEM_ENCODING = UTF8
2 SYSTEM_LCID = $0419
1 fMain/
2 fMain_Caption = Главное окно
2 fMain_btnOK/
3 fMain_btnOK_Caption = OK
2 fMain_lblNote = Tab\there, back\\slash\x01, a < b
2 fMain_lblEmpty = 
1 resourcestring/
2 resourcestring_65001 = Строка 1\r\nСтрока 2
)";

// kSample after "encoding HTML": every Cyrillic letter as a decimal reference.
const std::string kSampleHtml = Lines({
    "<SYSTEM>",
    "  <ENCODING>HTML</ENCODING>",
    "  <LCID>$0419</LCID>",
    "</SYSTEM>",
    "<fMain>",
    "  <Caption>&#1043;&#1083;&#1072;&#1074;&#1085;&#1086;&#1077; "
    "&#1086;&#1082;&#1085;&#1086;</Caption>",
    "  <btnOK>",
    "    <Caption>OK</Caption>",
    "  </btnOK>",
    "  <lblNote>Tab\there, back\\slash\x01, a &lt; b</lblNote>",
    "  <lblEmpty></lblEmpty>",
    "</fMain>",
    "<resourcestring>",
    "  <65001>&#1057;&#1090;&#1088;&#1086;&#1082;&#1072; 1\r\n"
    "&#1057;&#1090;&#1088;&#1086;&#1082;&#1072; 2</65001>",
    "</resourcestring>",
});

// A smaller pack for the editing commands, whose whole dump fits a table row.
const std::string kEditable = Lines({
    "<SYSTEM>",
    "  <ENCODING>UTF8</ENCODING>",
    "</SYSTEM>",
    "<fMain>",
    "  <Caption>Окно</Caption>",
    "  <btnOK>",
    "    <Caption>OK</Caption>",
    "  </btnOK>",
    "</fMain>",
    "<LANG>",
    "  <Login>Войти</Login>",
    "</LANG>",
});

class Lxpack : public lx::test::TempDirTest {
protected:
    TResult Run(const std::vector<std::string>& args) const { return RunLxpack(Dir.Path(), args); }
    std::string Bytes(const std::string& name) const { return TempDir::Read(Dir.File(name)); }
    // Runs a command that has to succeed silently.
    void RunOk(const std::vector<std::string>& args) const {
        const TResult r = Run(args);
        EXPECT_EQ(r.Code, 0) << r.Err;
        EXPECT_EQ(r.Err, "");
    }
    // The standard output of a command that has to succeed.
    std::string Output(const std::vector<std::string>& args) const {
        const TResult r = Run(args);
        EXPECT_EQ(r.Code, 0) << r.Err;
        EXPECT_EQ(r.Err, "");
        return r.Out;
    }
};

TEST_F(Lxpack, DumpListsLevelsFoldersAndEscapedValues) {
    Dir.Write("f.lng", kSample);
    EXPECT_EQ(Output({"dump", "f.lng"}), kSampleDump);
    EXPECT_EQ(Output({"--sep", ".", "dump", "f.lng"}), R"(1 SYSTEM/
2 SYSTEM.ENCODING = UTF8
2 SYSTEM.LCID = $0419
1 fMain/
2 fMain.Caption = Главное окно
2 fMain.btnOK/
3 fMain.btnOK.Caption = OK
2 fMain.lblNote = Tab\there, back\\slash\x01, a < b
2 fMain.lblEmpty = 
1 resourcestring/
2 resourcestring.65001 = Строка 1\r\nСтрока 2
)");
    EXPECT_EQ(Bytes("f.lng"), kSample); // reading never writes
}

TEST_F(Lxpack, GetPrintsTheValueUnescaped) {
    Dir.Write("f.lng", kSample);
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"get", "f.lng", "fMain_Caption"}, "Главное окно\n"},
        {{"get", "f.lng", "FMAIN_btnok_CAPTION"}, "OK\n"}, // names ignore the case of a-z
        {{"get", "f.lng", "fMain_lblNote"}, "Tab\there, back\\slash\x01, a < b\n"},
        {{"get", "f.lng", "fMain_lblEmpty"}, "\n"},
        {{"get", "f.lng", "resourcestring_65001"}, "Строка 1\r\nСтрока 2\n"},
        {{"--sep", ".", "get", "f.lng", "fMain.btnOK.Caption"}, "OK\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Output(c.args), c.out) << c.args.back();
}

// new writes the two SYSTEM items and nothing else; set then writes a value in
// the pack's encoding, with '<' and '>' escaped, and get gives back the UTF-8
// text that went in on the command line.
TEST_F(Lxpack, NewThenSetWritesTheValueInThePackEncoding) {
    const std::string value = "Гм € <b>";
    const struct {
        std::string encoding, lcid, stored;
    } cases[] = {
        {"UTF8", "1049", "Гм € &lt;b&gt;"},
        {"ANSI", "$0419", "\xC3\xEC \x88 &lt;b&gt;"},
        {"HTML", "0x419", "&#1043;&#1084; &#8364; &lt;b&gt;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoding);
        const std::string file = c.encoding + ".lng";
        const std::string empty = Lines({
            "<SYSTEM>",
            "  <ENCODING>" + c.encoding + "</ENCODING>",
            "  <LCID>$0419</LCID>",
            "</SYSTEM>",
        });
        RunOk({"new", file, "--encoding", c.encoding, "--lcid", c.lcid});
        EXPECT_EQ(Bytes(file), empty);

        RunOk({"set", file, "fMain_lblA_Caption", value});
        EXPECT_EQ(Bytes(file), empty + Lines({
                                           "<fMain>",
                                           "  <lblA>",
                                           "    <Caption>" + c.stored + "</Caption>",
                                           "  </lblA>",
                                           "</fMain>",
                                       }));
        EXPECT_EQ(Output({"get", file, "fMain_lblA_Caption"}), value + "\n");
    }
}

struct TEdit {
    const char* name;
    std::vector<std::string> args;
    const char* dump; // the whole dump of kEditable afterwards
};

// gtest prints a failing parameter with this instead of its bytes.
void PrintTo(const TEdit& c, std::ostream* os) {
    *os << c.name;
}

class LxpackEdit : public Lxpack, public ::testing::WithParamInterface<TEdit> {};

TEST_P(LxpackEdit, ChangesThePackAsAsked) {
    Dir.Write("f.lng", kEditable);
    const TResult r = Run(GetParam().args);
    EXPECT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, "");
    EXPECT_EQ(Output({"dump", "f.lng"}), GetParam().dump);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, LxpackEdit,
    ::testing::Values(TEdit{"SetCreatesThePath",
                            {"set", "f.lng", "fOptions_btnCancel_Caption", "Отмена"},
                            R"(1 SYSTEM/
2 SYSTEM_ENCODING = UTF8
1 fMain/
2 fMain_Caption = Окно
2 fMain_btnOK/
3 fMain_btnOK_Caption = OK
1 LANG/
2 LANG_Login = Войти
1 fOptions/
2 fOptions_btnCancel/
3 fOptions_btnCancel_Caption = Отмена
)"},
                      TEdit{"SetKeepsTheVariableInPlace",
                            {"set", "f.lng", "fMain_Caption", "Главное окно"},
                            R"(1 SYSTEM/
2 SYSTEM_ENCODING = UTF8
1 fMain/
2 fMain_Caption = Главное окно
2 fMain_btnOK/
3 fMain_btnOK_Caption = OK
1 LANG/
2 LANG_Login = Войти
)"},
                      TEdit{"SetWithDotSeparator",
                            {"--sep", ".", "set", "f.lng", "fMain.btnOK.Hint", "Принять"},
                            R"(1 SYSTEM/
2 SYSTEM_ENCODING = UTF8
1 fMain/
2 fMain_Caption = Окно
2 fMain_btnOK/
3 fMain_btnOK_Caption = OK
3 fMain_btnOK_Hint = Принять
1 LANG/
2 LANG_Login = Войти
)"},
                      TEdit{"RenameFolder",
                            {"rename", "f.lng", "fMain_btnOK", "btnApply"},
                            R"(1 SYSTEM/
2 SYSTEM_ENCODING = UTF8
1 fMain/
2 fMain_Caption = Окно
2 fMain_btnApply/
3 fMain_btnApply_Caption = OK
1 LANG/
2 LANG_Login = Войти
)"},
                      TEdit{"MoveIntoFolder",
                            {"move", "f.lng", "fMain_Caption", "LANG"},
                            R"(1 SYSTEM/
2 SYSTEM_ENCODING = UTF8
1 fMain/
2 fMain_btnOK/
3 fMain_btnOK_Caption = OK
1 LANG/
2 LANG_Login = Войти
2 LANG_Caption = Окно
)"},
                      TEdit{"MoveIntoNewFolder",
                            {"move", "f.lng", "fMain_btnOK", "fMain_pnlButtons"},
                            R"(1 SYSTEM/
2 SYSTEM_ENCODING = UTF8
1 fMain/
2 fMain_Caption = Окно
2 fMain_pnlButtons/
3 fMain_pnlButtons_btnOK/
4 fMain_pnlButtons_btnOK_Caption = OK
1 LANG/
2 LANG_Login = Войти
)"},
                      TEdit{"MoveToTheTop",
                            {"move", "f.lng", "fMain_btnOK", ""},
                            R"(1 SYSTEM/
2 SYSTEM_ENCODING = UTF8
1 fMain/
2 fMain_Caption = Окно
1 LANG/
2 LANG_Login = Войти
1 btnOK/
2 btnOK_Caption = OK
)"},
                      TEdit{"DeleteFolderWithItsItems",
                            {"delete", "f.lng", "fMain_btnOK"},
                            R"(1 SYSTEM/
2 SYSTEM_ENCODING = UTF8
1 fMain/
2 fMain_Caption = Окно
1 LANG/
2 LANG_Login = Войти
)"},
                      TEdit{"DeleteVariable",
                            {"delete", "f.lng", "fMain_Caption"},
                            R"(1 SYSTEM/
2 SYSTEM_ENCODING = UTF8
1 fMain/
2 fMain_btnOK/
3 fMain_btnOK_Caption = OK
1 LANG/
2 LANG_Login = Войти
)"}),
    [](const ::testing::TestParamInfo<TEdit>& p) { return std::string(p.param.name); });

struct TRefusal {
    const char* name;
    std::vector<std::string> args;
    const char* err; // the whole of standard error
};

void PrintTo(const TRefusal& c, std::ostream* os) {
    *os << c.name;
}

class LxpackRefusal : public Lxpack, public ::testing::WithParamInterface<TRefusal> {};

// A refused command exits 1 with one line naming the file, and leaves the file
// as it was.
TEST_P(LxpackRefusal, FailsAndLeavesTheFileAlone) {
    Dir.Write("f.lng", kSample);
    const TResult r = Run(GetParam().args);
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, "");
    EXPECT_EQ(r.Err, GetParam().err);
    EXPECT_EQ(Bytes("f.lng"), kSample);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, LxpackRefusal,
    ::testing::Values(
        TRefusal{"GetNoFile", {"get", "missing.lng", "a"}, "lxpack: missing.lng: no such file\n"},
        TRefusal{
            "GetNoItem", {"get", "f.lng", "fMain_Hint"}, "lxpack: f.lng: no item fMain_Hint\n"},
        TRefusal{"GetFolder",
                 {"get", "f.lng", "fMain_btnOK"},
                 "lxpack: f.lng: fMain_btnOK is a folder\n"},
        TRefusal{"SetFolder",
                 {"set", "f.lng", "fMain_btnOK", "x"},
                 "lxpack: f.lng: fMain_btnOK is a folder\n"},
        // The variable would become a folder and lose its value.
        TRefusal{"SetBelowVariable",
                 {"set", "f.lng", "fMain_Caption_Hint", "x"},
                 "lxpack: f.lng: fMain_Caption is a variable, not a folder\n"},
        TRefusal{
            "SetNameWithLt", {"set", "f.lng", "fMain_a<b", "x"}, "lxpack: f.lng: Bad item name.\n"},
        TRefusal{
            "SetNameLikeEndTag", {"set", "f.lng", "/x", "x"}, "lxpack: f.lng: Bad item name.\n"},
        TRefusal{
            "SetEmptyName", {"set", "f.lng", "fMain__x", "x"}, "lxpack: f.lng: Bad item name.\n"},
        // The reader would split "new_name" into two items.
        TRefusal{"SetUnderscoreWithDotSeparator",
                 {"--sep", ".", "set", "f.lng", "fMain.new_name", "x"},
                 "lxpack: f.lng: Bad item name.\n"},
        TRefusal{"SetEncodingItem",
                 {"set", "f.lng", "SYSTEM_ENCODING", "HTML"},
                 "lxpack: f.lng: SYSTEM_ENCODING is reserved (use 'lxpack encoding')\n"},
        TRefusal{"RenameToSibling",
                 {"rename", "f.lng", "fMain_Caption", "btnOK"},
                 "lxpack: f.lng: Bad item name.\n"},
        TRefusal{"RenameToSiblingOtherCase",
                 {"rename", "f.lng", "fMain_Caption", "BTNOK"},
                 "lxpack: f.lng: Bad item name.\n"},
        TRefusal{"RenameWithUnderscore",
                 {"rename", "f.lng", "fMain_Caption", "new_name"},
                 "lxpack: f.lng: Bad item name.\n"},
        TRefusal{"RenameWithUnderscoreDotSeparator",
                 {"--sep", ".", "rename", "f.lng", "fMain.Caption", "new_name"},
                 "lxpack: f.lng: Bad item name.\n"},
        TRefusal{"RenameNoItem",
                 {"rename", "f.lng", "fMain_Hint", "Tip"},
                 "lxpack: f.lng: no item fMain_Hint\n"},
        TRefusal{"RenameSystem",
                 {"rename", "f.lng", "SYSTEM", "Sys"},
                 "lxpack: f.lng: SYSTEM is reserved (use 'lxpack encoding' and 'lxpack lcid')\n"},
        TRefusal{"MoveOntoNameClash",
                 {"move", "f.lng", "fMain_btnOK_Caption", "fMain"},
                 "lxpack: f.lng: fMain already holds an item named Caption\n"},
        TRefusal{"MoveIntoOwnChild",
                 {"move", "f.lng", "fMain", "fMain_btnOK"},
                 "lxpack: f.lng: cannot move fMain into itself\n"},
        TRefusal{"MoveIntoItself",
                 {"move", "f.lng", "fMain", "fMain"},
                 "lxpack: f.lng: cannot move fMain into itself\n"},
        TRefusal{"MoveIntoVariable",
                 {"move", "f.lng", "fMain_btnOK", "fMain_Caption"},
                 "lxpack: f.lng: fMain_Caption is a variable, not a folder\n"},
        TRefusal{"MoveLcidItem",
                 {"move", "f.lng", "SYSTEM_LCID", "fMain"},
                 "lxpack: f.lng: SYSTEM_LCID is reserved (use 'lxpack lcid')\n"},
        TRefusal{
            "DeleteNoItem", {"delete", "f.lng", "fOptions"}, "lxpack: f.lng: no item fOptions\n"},
        TRefusal{"DeleteSystem",
                 {"delete", "f.lng", "SYSTEM"},
                 "lxpack: f.lng: SYSTEM is reserved (use 'lxpack encoding' and 'lxpack lcid')\n"},
        TRefusal{"NewOverExistingFile",
                 {"new", "f.lng", "--encoding", "ANSI", "--lcid", "1033"},
                 "lxpack: f.lng: already exists\n"}),
    [](const ::testing::TestParamInfo<TRefusal>& p) { return std::string(p.param.name); });

// UTF8 -> HTML gives exact bytes; the values survive a round through every
// encoding, and converting to the encoding a file already has does not touch it.
TEST_F(Lxpack, EncodingShowsAndConvertsTheFile) {
    Dir.Write("f.lng", kSample);
    EXPECT_EQ(Output({"encoding", "f.lng"}), "UTF8\n");
    RunOk({"encoding", "f.lng", "UTF8"});
    EXPECT_EQ(Bytes("f.lng"), kSample);

    RunOk({"encoding", "f.lng", "HTML"});
    EXPECT_EQ(Bytes("f.lng"), kSampleHtml);
    EXPECT_EQ(Output({"encoding", "f.lng"}), "HTML\n");
    std::string htmlDump = kSampleDump;
    htmlDump.replace(htmlDump.find("UTF8"), 4, "HTML");
    EXPECT_EQ(Output({"dump", "f.lng"}), htmlDump);

    RunOk({"encoding", "f.lng", "ANSI"});
    EXPECT_NE(
        Bytes("f.lng").find("<Caption>\xC3\xEB\xE0\xE2\xED\xEE\xE5 \xEE\xEA\xED\xEE</Caption>"),
        std::string::npos);
    RunOk({"encoding", "f.lng", "UTF8"});
    EXPECT_EQ(Bytes("f.lng"), kSample);
}

TEST_F(Lxpack, LcidShowsAndSetsTheLanguage) {
    Dir.Write("f.lng", kSample);
    EXPECT_EQ(Output({"lcid", "f.lng"}), "1049\n");
    const struct {
        std::string arg, stored, shown;
    } cases[] = {
        {"1058", "$0422", "1058\n"},
        {"$0407", "$0407", "1031\n"},
        {"0x409", "$0409", "1033\n"},
        {"$a", "$000A", "10\n"},
    };
    for (const auto& c : cases) {
        RunOk({"lcid", "f.lng", c.arg});
        std::string expected = kSample;
        expected.replace(expected.find("$0419"), 5, c.stored);
        EXPECT_EQ(Bytes("f.lng"), expected) << c.arg;
        EXPECT_EQ(Output({"lcid", "f.lng"}), c.shown) << c.arg;
    }
}

TEST_F(Lxpack, CheckReportsEveryFile) {
    Dir.Write("good.lng", kSample);
    Dir.Write("bad.lng", "<a>text");
    const TResult r = Run({"check", "good.lng", "bad.lng", "missing.lng", "good.lng"});
    EXPECT_EQ(r.Code, 1);
    EXPECT_EQ(r.Out, "good.lng: ok\ngood.lng: ok\n");
    EXPECT_EQ(r.Err, "lxpack: bad.lng: XML parse error! (at byte 0)\n"
                     "lxpack: missing.lng: no such file\n");

    EXPECT_EQ(Output({"check", "good.lng"}), "good.lng: ok\n");
}

// Every command that reads a malformed pack fails with the offset, and one that
// writes leaves the file alone.
TEST_F(Lxpack, MalformedPackIsReportedWithTheOffset) {
    const struct {
        std::string bytes;
        std::size_t offset;
    } cases[] = {
        {"<a>text", 0},                     // a start tag that nothing follows
        {"<a>x</a", 4},                     // an unfinished end tag
        {"no tag at all", 13},              // no element: the end of the file
        {Lines({"<a>", "  <b>x</b>"}), 15}, // an element never closed
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        Dir.Write("m.lng", c.bytes);
        const std::string err =
            "lxpack: m.lng: XML parse error! (at byte " + std::to_string(c.offset) + ")\n";
        const std::vector<std::vector<std::string>> commands{
            {"check", "m.lng"}, {"dump", "m.lng"}, {"set", "m.lng", "a", "v"}};
        for (const std::vector<std::string>& args : commands) {
            const TResult r = Run(args);
            EXPECT_EQ(r.Code, 1) << args[0];
            EXPECT_EQ(r.Out, "") << args[0];
            EXPECT_EQ(r.Err, err) << args[0];
        }
        EXPECT_EQ(Bytes("m.lng"), c.bytes);
    }
}

TEST_F(Lxpack, StatsPrintsOneLinePerFile) {
    Dir.Write("a.lng", kSample);
    Dir.Write("b.lng", Lines({"<a>x</a>"})); // no SYSTEM items: ANSI, no language
    EXPECT_EQ(Output({"stats", "a.lng", "b.lng"}),
              "a.lng: folders 4, variables 7, empty 1, encoding UTF8, lcid 1049 (Russian)\n"
              "b.lng: folders 1, variables 2, empty 0, encoding ANSI, lcid 0 (none)\n");
}

TEST_F(Lxpack, UsageErrorsExit2AndChangeNothing) {
    Dir.Write("f.lng", kSample);
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{}, "no command"},
        {{"frob", "f.lng"}, "unknown command 'frob'"},
        {{"get", "f.lng"}, "wrong number of arguments for 'get'"},
        {{"set", "f.lng", "fMain_Caption", "a", "b"}, "wrong number of arguments for 'set'"},
        {{"set", "f.lng", "", "v"}, "empty path"},
        {{"--sep"}, "--sep needs one character"},
        {{"--sep", "ab", "dump", "f.lng"}, "--sep needs one character"},
        {{"encoding", "f.lng", "UTF16"}, "unknown encoding 'UTF16' (ANSI, UTF8 or HTML)"},
        {{"lcid", "f.lng", "0"}, "not a language identifier: 0"},
        {{"lcid", "f.lng", "$04G9"}, "not a language identifier: $04G9"},
        {{"lcid", "f.lng", "70000"}, "not a language identifier: 70000"},
        {{"check"}, "check needs at least one file"},
        {{"stats"}, "stats needs at least one file"},
        {{"new", "n.lng", "--encoding", "UTF8"}, "new needs FILE, --encoding E and --lcid N"},
        {{"new", "n.lng", "--encoding", "UTF16", "--lcid", "1049"},
         "unknown encoding 'UTF16' (ANSI, UTF8 or HTML)"},
    };
    for (const auto& c : cases) {
        const TResult r = Run(c.args);
        EXPECT_EQ(r.Code, 2) << c.message;
        EXPECT_EQ(r.Out, "") << c.message;
        EXPECT_EQ(r.Err, "lxpack: " + c.message + "\nTry 'lxpack --help'.\n");
    }
    EXPECT_EQ(Bytes("f.lng"), kSample);
    EXPECT_FALSE(std::filesystem::exists(Dir.File("n.lng")));
}

TEST_F(Lxpack, HelpListsEveryCommandAndVersionPrintsOneLine) {
    const std::string help = Output({"--help"});
    EXPECT_EQ(help.rfind("usage: lxpack", 0), 0u);
    for (const char* command : {"dump", "get", "set", "delete", "rename", "move", "encoding",
                                "lcid", "check", "stats", "new"})
        EXPECT_NE(help.find(std::string("\n  ") + command + " "), std::string::npos) << command;

    const std::string version = Output({"--version"});
    EXPECT_EQ(version.rfind("lxpack ", 0), 0u);
    EXPECT_EQ(std::count(version.begin(), version.end(), '\n'), 1);
}

// examples/packs is found from LX_TEST_DATA (the tests/ folder) by walking up,
// so that it is found from a test folder one level deeper as well.
std::filesystem::path SamplePacksFolder() {
    const char* data = std::getenv("LX_TEST_DATA");
    if (!data)
        return {};
    for (std::filesystem::path p = std::filesystem::absolute(data); !p.empty();
         p = p.parent_path()) {
        if (std::filesystem::is_directory(p / "examples" / "packs"))
            return p / "examples" / "packs";
        if (p == p.parent_path())
            break;
    }
    return {};
}

// Every sample pack reads without error, and every review flag in package.ini
// names a pack of the folder and a variable that pack has.
TEST_F(Lxpack, SamplePacksPassCheckAndPackageIniNamesTheirVariables) {
    const std::filesystem::path folder = SamplePacksFolder();
    ASSERT_FALSE(folder.empty()) << "no examples/packs above LX_TEST_DATA";
    std::vector<std::string> args{"check"};
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".lng")
            args.push_back(entry.path().string());
    ASSERT_GE(args.size(), 5u) << "expected at least four sample packs";
    const TResult r = Run(args);
    EXPECT_EQ(r.Code, 0) << r.Err;
    EXPECT_EQ(std::count(r.Out.begin(), r.Out.end(), '\n'), static_cast<long>(args.size() - 1));

    const lx::platform::TIniFile ini((folder / "package.ini").string());
    const std::vector<std::string> sections = ini.SectionNames();
    ASSERT_FALSE(sections.empty());
    for (const std::string& section : sections) {
        ASSERT_EQ(section.rfind("lpack_", 0), 0u) << section;
        const std::string pack = (folder / (section.substr(6) + ".lng")).string();
        ASSERT_TRUE(std::filesystem::exists(pack)) << section;
        for (const std::string& key : ini.KeyNames(section)) {
            ASSERT_EQ(key.rfind("needtochange_", 0), 0u) << key;
            EXPECT_EQ(ini.ReadString(section, key, ""), "true") << key;
            const TResult get = Run({"get", pack, key.substr(13)});
            EXPECT_EQ(get.Code, 0) << section << " " << key << ": " << get.Err;
        }
    }
}

} // namespace
