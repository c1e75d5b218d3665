// INI access: Windows private-profile behaviour, and atomic writes.
#include "engine/uIni.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace lx;
using lx::test::TempDir;
using lx::test::TempDirTest;

TEST_F(TempDirTest, IniReadsLikeAPrivateProfile) {
    const std::string ini = Dir.Write("main.ini", "; comment\r\n"
                                                  "[Main]\r\n"
                                                  "  Name = Ivan  \r\n"
                                                  "name=second\r\n"
                                                  "Count=42\r\n"
                                                  "Bad=abc\r\n"
                                                  "Lead=12abc\r\n"
                                                  "Neg=-7\r\n"
                                                  "Quoted=\" spaced \"\r\n"
                                                  "Flag=true\r\n"
                                                  "[main]\r\n"
                                                  "Other=ignored\r\n"
                                                  "[Empty]\r\n");
    EXPECT_EQ(ReadStr("MAIN", "NAME", "def", ini), "Ivan"); // first match, case ignored
    EXPECT_EQ(ReadStr("Main", "Other", "def", ini), "def"); // only the first [Main] counts
    EXPECT_EQ(ReadStr("Main", "Quoted", "", ini), " spaced ");
    EXPECT_EQ(ReadStr("Nope", "x", "def", ini), "def");
    EXPECT_EQ(ReadInt("Main", "Count", 0, ini), 42);
    EXPECT_EQ(ReadInt("Main", "Missing", 5, ini), 5);
    EXPECT_EQ(ReadInt("Main", "Bad", 5, ini), 0); // text that is not a number
    EXPECT_EQ(ReadInt("Main", "Lead", 5, ini), 12);
    EXPECT_EQ(ReadInt("Main", "Neg", 0, ini), -7);
    EXPECT_TRUE(ReadBool("Main", "Flag", false, ini));
    EXPECT_TRUE(ReadBool("Main", "Name", true, ini)); // not a switch: the default
    EXPECT_EQ(ReadStr("Main", "Name", "def", Dir.File("missing.ini")), "def");

    Dir.Write("long.ini", "[s]\nk=" + std::string(20000, 'x') + "\n");
    EXPECT_EQ(ReadStr("s", "k", "", Dir.File("long.ini")).size(), 16384u);
}

TEST_F(TempDirTest, IniWritesKeepTheRestOfTheFile) {
    const std::string ini =
        Dir.Write("p.ini", "; keep me\r\n[A]\r\nx=1\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
    EXPECT_TRUE(WriteStr("a", "X", "10", ini));   // replaces in place, keeps the stored key name
    EXPECT_TRUE(WriteStr("A", "new", "n", ini));  // appended after the section's last key
    EXPECT_TRUE(WriteInt("C", "count", -3, ini)); // a new section at the end
    EXPECT_TRUE(WriteBool("B", "on", true, ini));
    EXPECT_EQ(TempDir::Read(ini), "; keep me\r\n[A]\r\nx=10\r\ny=2\r\nnew=n\r\n\r\n[B]\r\nz=3\r\n"
                                  "on=true\r\n\r\n[C]\r\ncount=-3\r\n");
    EXPECT_TRUE(DeleteKey("A", "y", ini));
    EXPECT_TRUE(DeleteSection("b", ini));
    EXPECT_EQ(ReadStr("A", "y", "gone", ini), "gone");
    EXPECT_EQ(ReadStr("B", "z", "gone", ini), "gone");
    EXPECT_EQ(ReadInt("C", "count", 0, ini), -3);

    // Created on first write, with its folder existing; line breaks cannot split a value.
    const std::string fresh = Dir.File("fresh.ini");
    EXPECT_TRUE(WriteStr("S", "k", "a\r\nb", fresh));
    EXPECT_EQ(ReadStr("S", "k", "", fresh), "ab");
    EXPECT_EQ(TempDir::Read(fresh), "[S]\r\nk=ab\r\n");

    // A file that cannot be written reports it and reads on as before.
    EXPECT_FALSE(WriteStr("S", "k", "v", Dir.File("no/such/folder/x.ini")));

    // A Unix file keeps its line ends.
    const std::string unix = Dir.Write("u.ini", "[s]\nk=1\n");
    EXPECT_TRUE(WriteStr("s", "k2", "2", unix));
    EXPECT_EQ(TempDir::Read(unix), "[s]\nk=1\nk2=2\n");
}
