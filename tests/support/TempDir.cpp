#include "TempDir.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

namespace lx::test {

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "lxtest-XXXXXX").string();
    if (!mkdtemp(tmpl.data()))
        throw std::runtime_error("cannot create a temporary folder");
    FPath = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(FPath, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(FPath, ec);
}

std::string TempDir::Write(const std::string& name, std::string_view bytes) const {
    const std::string path = File(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string TempDir::Read(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

TFullDisk::TFullDisk(std::size_t limit) {
    rlimit r{};
    getrlimit(RLIMIT_FSIZE, &r);
    FOldCur = r.rlim_cur;
    FOldHandler = signal(SIGXFSZ, SIG_IGN);
    r.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &r);
}

TFullDisk::~TFullDisk() {
    rlimit r{};
    getrlimit(RLIMIT_FSIZE, &r);
    r.rlim_cur = static_cast<rlim_t>(FOldCur);
    setrlimit(RLIMIT_FSIZE, &r);
    signal(SIGXFSZ, FOldHandler);
}

void TempDirTest::SetUp() {
    if (const char* v = std::getenv("LX_APP_DIR")) {
        FHadAppDir = true;
        FOldAppDir = v;
    }
    if (const char* v = std::getenv("LX_REGISTRY")) {
        FHadRegistry = true;
        FOldRegistry = v;
    }
    setenv("LX_APP_DIR", Dir.Path().c_str(), 1);
    setenv("LX_REGISTRY", Dir.File("registry.ini").c_str(), 1);
}

void TempDirTest::TearDown() {
    if (FHadAppDir)
        setenv("LX_APP_DIR", FOldAppDir.c_str(), 1);
    else
        unsetenv("LX_APP_DIR");
    if (FHadRegistry)
        setenv("LX_REGISTRY", FOldRegistry.c_str(), 1);
    else
        unsetenv("LX_REGISTRY");
}

} // namespace lx::test
