// GlotrixEd: the registration switches, then the main window.
#include "engine/uIni.h"
#include "platform/Registry.h"
#include "uMain.h"
#include "uPackCache.h"
#include "uReOpenMenu.h"
#include "uRemote.h"
#include "uSplashForm.h"
#include "uStartUp.h"
#include "uVars.h"

#include <QApplication>
#include <QTimer>

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
    // The splash shows while the start-up runs (and during every later long action).
    const auto requested = editor::ParseSwitches(args, editor::StartUp());
    editor::TFTPService ftp; // the program's FTP clients, until the end
    editor::TfSplash splash;
    editor::ProgressManager().BeginAction("");
    editor::TfMain window;
    splash.SetMainWindow(&window);
    std::string folder =
        requested ? *requested : ReadStr("main", "workdir", "", editor::MainIniFileName());
    // A default folder on an FTP server may take long to load: the user chooses.
    if (!requested && editor::IsFTPPath(folder)) {
        editor::TFolderList recent;
        editor::LoadRecentExcept(folder, editor::MainIniFileName(), "menu", recent);
        folder = editor::ChooseStartProject(folder, recent);
    }
    window.OpenWorkingFolder(folder);
    editor::ProgressManager().EndAction(); // the splash closes
    window.show();
    if (editor::StartUp().ListOnly)
        QTimer::singleShot(0, &window, &editor::TfMain::ListOnlyStart);
    return QApplication::exec();
}
