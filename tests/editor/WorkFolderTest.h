#pragma once
// A working folder of two packs (Russian in UTF8, English in ANSI) in the
// test's own program folder, a user who has a name, and the scripted host UI.

#include "editor/uVars.h"
#include "engine/uIni.h"
#include "support/TempDir.h"
#include "support_qt/ScriptedHostUI.h"

#include <string>

namespace lx::test {

inline const std::string kRus =
    "<SYSTEM>\r  <ENCODING>UTF8</ENCODING>\r  <LCID>$0419</LCID>\r</SYSTEM>\r<a>один</a>\r";
inline const std::string kEnu = "<SYSTEM>\r  <LCID>$0409</LCID>\r</SYSTEM>\r<a>one</a>\r";

class TWorkFolderTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        Work = Dir.File("work");
        Dir.Write("work/RUS.lng", kRus);
        Dir.Write("work/ENU.lng", kEnu);
        WriteStr("user", "name", "Anna", editor::MainIniFileName());
    }
    std::string Work;
    TScriptedHostUI UI;
};

} // namespace lx::test
