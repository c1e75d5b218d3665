#include "Paths.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace lx::platform {

std::string IncludeTrailingSlash(const std::string& path) {
    if (path.empty() || path.back() == '/')
        return path;
    return path + '/';
}

std::string AppDir() {
    if (const char* env = std::getenv("LX_APP_DIR"); env && *env)
        return IncludeTrailingSlash(ToNativeSeparators(env));
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return "./";
    std::string exe(buf, static_cast<std::size_t>(n));
    const auto slash = exe.find_last_of('/');
    return slash == std::string::npos ? "./" : exe.substr(0, slash + 1);
}

std::string ToNativeSeparators(const std::string& path) {
    std::string r = path;
    for (char& c : r)
        if (c == '\\')
            c = '/';
    return r;
}

bool IsNetworkPath(const std::string& path) {
    return path.size() >= 2 && (path[0] == '\\' || path[0] == '/') &&
           (path[1] == '\\' || path[1] == '/');
}

bool IsAbsolutePath(const std::string& path) {
    if (!path.empty() && path[0] == '/')
        return true;
    if (path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) {
        const char d = path[0];
        return (d >= 'A' && d <= 'Z') || (d >= 'a' && d <= 'z');
    }
    return false;
}

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
    const auto slash = path.find_last_of('/');
    const auto dot = path.find_last_of('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return path.substr(0, dot) + ext;
    return path + ext;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty())
        return name;
    std::size_t start = 0;
    while (start < name.size() && name[start] == '/')
        ++start;
    return IncludeTrailingSlash(folder) + name.substr(start);
}

std::string ResolveStoredFolder(const std::string& stored, const std::string& base) {
    if (IsNetworkPath(stored) || IsAbsolutePath(stored))
        return ToNativeSeparators(stored);
    if (!stored.empty() && stored[0] == '\\')
        return JoinPath(AppDir(), ToNativeSeparators(stored.substr(1)));
    return JoinPath(base, ToNativeSeparators(stored));
}

} // namespace lx::platform
