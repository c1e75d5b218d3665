// GlotrixEd: the registration switches, then the main window.
#include "engine/uIni.h"
#include "platform/Registry.h"
#include "uMain.h"
#include "uVars.h"

#include <QApplication>

#include <climits>
#include <cstdio>
#include <unistd.h>

namespace {

std::string ExecutablePath() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

} // namespace

int main(int argc, char** argv) {
    using namespace lx;
    std::vector<std::string> args(argv, argv + argc);
    const editor::TEntryRequest request = editor::ParseEntryRequest(args);
    platform::TRegistry registry;
    const auto HKLM = platform::TRootKey::HKEY_LOCAL_MACHINE;
    if (request.Silent) {
        if (request.Reg)
            registry.WriteString(HKLM, "SOFTWARE\\GLOTRIX\\EDITOR", "exe", ExecutablePath());
        if (request.Unreg)
            registry.DeleteKey(HKLM, "SOFTWARE\\GLOTRIX\\EDITOR");
        return 0;
    }
    if (!registry.WriteString(HKLM, "SOFTWARE\\GLOTRIX\\EDITOR", "exe", ExecutablePath())) {
        std::fprintf(stderr, "GlotrixEd: Error creating system registry entry\n");
        return 1;
    }
    editor::PackAccessGranted() = false;
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Language variables editor"));
    editor::TfMain window;
    const auto folder = editor::ParseSwitches(args, editor::StartUp());
    window.show();
    window.OpenWorkingFolder(folder ? *folder
                                    : ReadStr("main", "workdir", "", editor::MainIniFileName()));
    return QApplication::exec();
}
