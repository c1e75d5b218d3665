#include "uDsgProc.h"

#include "platform/Paths.h"

#include <QFile>

#include <climits>
#include <cstring>
#include <unistd.h>

namespace lx {

std::string RunningModuleFileName() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string exe =
        n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string("program");
    const auto slash = exe.find_last_of('/');
    return platform::AppDir() + (slash == std::string::npos ? exe : exe.substr(slash + 1));
}

TDesignServices RunTimeDesignServices() {
    TDesignServices s;
    s.DesignState = [] { return false; };
    s.GetProjectExeFileName = [] { return RunningModuleFileName(); };
    s.GetProjectDPRFileName = [] { return std::string(); };
    s.GetProjectDofFileName = [] { return std::string(); };
    s.GetBackUpFileName = [] { return platform::ChangeFileExt(RunningModuleFileName(), ".tlng"); };
    s.GetUnitFileName = [](const QObject*) { return std::string(); };
    s.ReadDataFromResFile = [](TXMLAppDataBlock& buffer) {
        buffer.fill(0);
        QFile f(QString::fromLatin1(kXMLAppDataResource));
        if (!f.open(QIODevice::ReadOnly))
            return false;
        const QByteArray data = f.readAll();
        if (static_cast<std::size_t>(data.size()) != kXMLAppDataSize)
            return false;
        std::memcpy(buffer.data(), data.constData(), kXMLAppDataSize);
        return true;
    };
    s.WriteDataToResFile = [](const TXMLAppDataBlock&) {};
    s.GetModuleOwn = [](const std::string&) { return 1; };
    s.UseAllowedPropNamesList = [](std::vector<std::string>& names) {
        names.clear();
        return 0;
    };
    s.GetLXCompLangName = [] { return std::string(); };
    return s;
}

TDesignServices& DesignServices() {
    static TDesignServices services = RunTimeDesignServices();
    return services;
}

void ResetDesignServices() {
    DesignServices() = RunTimeDesignServices();
}

} // namespace lx
