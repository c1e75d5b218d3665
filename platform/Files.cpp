#include "Files.h"

#include "Text.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace lx::platform {

namespace {

std::string ErrnoText(int e) {
    return std::strerror(e);
}

[[noreturn]] void Fail(const std::string& what, const std::string& path, int e) {
    throw EFileError(what + " '" + path + "': " + ErrnoText(e));
}

std::string FolderOf(const std::string& path) {
    const auto p = path.find_last_of('/');
    if (p == std::string::npos)
        return ".";
    if (p == 0)
        return "/";
    return path.substr(0, p);
}

// Follows a chain of symbolic links so that the link itself survives the rename.
std::string ResolveLinks(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        char buf[PATH_MAX];
        const ssize_t n = readlink(current.c_str(), buf, sizeof buf - 1);
        if (n < 0)
            return current;
        std::string target(buf, static_cast<std::size_t>(n));
        if (!target.empty() && target[0] != '/')
            target = FolderOf(current) + "/" + target;
        current = target;
    }
    return current;
}

} // namespace

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ReadWholeFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        Fail("Cannot open", path, errno);
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        const int e = errno;
        close(fd);
        Fail("Cannot read", path, e);
    }
    if (S_ISDIR(st.st_mode)) {
        close(fd);
        Fail("Cannot read", path, EISDIR);
    }
    std::string data;
    data.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    for (;;) {
        if (got == data.size())
            data.resize(data.size() + 65536); // the file may have grown
        const ssize_t n = read(fd, data.data() + got, data.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int e = errno;
            close(fd);
            Fail("Cannot read", path, e);
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    close(fd);
    data.resize(got);
    return data;
}

void WriteFileAtomic(const std::string& path, std::string_view data) {
    const std::string target = ResolveLinks(path);
    std::string tmp = target + ".XXXXXX.tmp";
    // mkstemps keeps the ".tmp" suffix and replaces the X's.
    const int fd = mkstemps(tmp.data(), 4);
    if (fd < 0)
        Fail("Cannot create a temporary file beside", target, errno);
    auto abandon = [&](const char* what, int e) {
        close(fd);
        unlink(tmp.c_str());
        Fail(what, target, e);
    };
    struct stat st {};
    // The umask is read once: reading it means setting it, which races with
    // other threads creating files.
    static const mode_t mask = [] {
        const mode_t m = umask(022);
        umask(m);
        return m;
    }();
    mode_t mode = 0666 & ~mask;
    if (stat(target.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    if (fchmod(fd, mode) != 0)
        abandon("Cannot set the permissions of", errno);
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            abandon("Cannot write", errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (fsync(fd) != 0)
        abandon("Cannot write", errno);
    if (close(fd) != 0) {
        const int e = errno;
        unlink(tmp.c_str());
        Fail("Cannot write", target, e);
    }
    if (rename(tmp.c_str(), target.c_str()) != 0) {
        const int e = errno;
        unlink(tmp.c_str());
        Fail("Cannot replace", target, e);
    }
}

std::optional<TFileTime> GetFileTime(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return static_cast<TFileTime>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

void SetFileTime(const std::string& path, TFileTime t) {
    timespec ts[2];
    ts[0].tv_sec = static_cast<time_t>(t / 1000000000LL);
    ts[0].tv_nsec = static_cast<long>(t % 1000000000LL);
    if (ts[0].tv_nsec < 0) {
        ts[0].tv_nsec += 1000000000L;
        ts[0].tv_sec -= 1;
    }
    ts[1] = ts[0];
    if (utimensat(AT_FDCWD, path.c_str(), ts, 0) != 0)
        Fail("Cannot set the time of", path, errno);
}

std::string FindPathIgnoringCase(const std::string& path) {
    struct stat st {};
    if (path.empty() || stat(path.c_str(), &st) == 0)
        return path;
    std::string current = path[0] == '/' ? "/" : "";
    std::size_t pos = path[0] == '/' ? 1 : 0;
    while (pos <= path.size()) {
        std::size_t end = path.find('/', pos);
        if (end == std::string::npos)
            end = path.size();
        const std::string element = path.substr(pos, end - pos);
        pos = end + 1;
        if (element.empty()) {
            if (end == path.size())
                break;
            continue;
        }
        std::string next = current + element;
        if (stat(next.c_str(), &st) != 0) {
            std::error_code ec;
            bool found = false;
            for (const auto& entry : std::filesystem::directory_iterator(
                     current.empty() ? std::string(".") : current, ec)) {
                const std::string name = entry.path().filename().string();
                if (SameTextAscii(name, element)) {
                    next = current + name;
                    found = true;
                    break;
                }
            }
            if (!found)
                return path;
        }
        current = next;
        if (end < path.size())
            current += '/';
    }
    return current;
}

std::vector<std::string> ListFilesWithExtension(const std::string& folder, const std::string& ext) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (!entry.is_regular_file(ec))
            continue;
        const std::string name = entry.path().filename().string();
        if (name.size() > ext.size() && SameTextAscii(name.substr(name.size() - ext.size()), ext))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TFileTime Now() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

bool MatchesFileMask(const std::string& name, const std::string& mask) {
    // Iterative matching with one back-tracking point: the last "*" seen.
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    std::size_t n = 0, m = 0, starAt = std::string::npos, nameAtStar = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starAt = m++;
            nameAtStar = n;
        } else if (m < mask.size() && (mask[m] == '?' || lower(mask[m]) == lower(name[n]))) {
            ++m;
            ++n;
        } else if (starAt != std::string::npos) {
            m = starAt + 1;
            n = ++nameAtStar;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

} // namespace lx::platform
