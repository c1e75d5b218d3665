#pragma once
// Files, folders and time stamps. Paths are native UTF-8 byte strings.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lx::platform {

/// A file system failure; the message names the file and the cause.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Modification time in nanoseconds since the Unix epoch.
using TFileTime = std::int64_t;

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);

/// Reads the whole file. Throws EFileError when it cannot be opened or read.
std::string ReadWholeFile(const std::string& path);

/// Replaces the file's content with `data`: writes a temporary file in the
/// same folder, flushes it to disk and renames it over `path`. On any failure
/// the temporary file is removed, the old file is untouched, and EFileError is
/// thrown. An existing file keeps its permission bits; a symbolic link is
/// followed, so the file it points to is replaced.
void WriteFileAtomic(const std::string& path, std::string_view data);

/// The last-write time, or nothing when the file does not exist.
std::optional<TFileTime> GetFileTime(const std::string& path);

/// Sets the last-write (and access) time. Throws EFileError on failure.
void SetFileTime(const std::string& path, TFileTime t);

/// The path of an existing file or folder that matches `path` with each
/// element compared ignoring ASCII case (names stored by Windows programs do
/// not always match the spelling on disk); `path` itself when it exists or
/// when nothing matches.
std::string FindPathIgnoringCase(const std::string& path);

/// The names of the files in a folder whose extension equals `ext` ignoring
/// ASCII case (ext with its dot, ".lng"), sorted by name; empty when the
/// folder is missing.
std::vector<std::string> ListFilesWithExtension(const std::string& folder, const std::string& ext);

/// The current time on the same scale as file times.
TFileTime Now();

/// Wildcard matching of a file name: "*" any run, "?" any one character,
/// letters compared ignoring ASCII case (names chosen on Windows, where case
/// does not count, must still match).
bool MatchesFileMask(const std::string& name, const std::string& mask);

} // namespace lx::platform
