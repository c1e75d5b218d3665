#pragma once
// Program folder and the rules for stored paths.

#include <string>

namespace lx::platform {

/// The program folder with a trailing '/': $LX_APP_DIR when set, else the
/// folder of the running executable.
std::string AppDir();

/// Stored paths may use '\' or '/'; this returns the path with '/' only.
std::string ToNativeSeparators(const std::string& path);

/// A drive-letter path ("C:\..." or "C:/...") or one starting with '/'.
bool IsAbsolutePath(const std::string& path);

/// A network share: starts with "\\" or "//".
bool IsNetworkPath(const std::string& path);

/// Resolves a stored folder: an absolute or network path is kept (with '/'),
/// a path starting with a single '\' is relative to the program folder
/// (the stored form "\lang\"), anything else is relative to `base`.
std::string ResolveStoredFolder(const std::string& stored, const std::string& base);

/// Joins a folder and a name with exactly one '/' between them.
std::string JoinPath(const std::string& folder, const std::string& name);

/// The path with its extension (the part of the file name from its last '.')
/// replaced by `ext` (".tlng"); added when the name has none.
std::string ChangeFileExt(const std::string& path, const std::string& ext);

/// Adds a trailing '/' unless the path is empty or already has one.
std::string IncludeTrailingSlash(const std::string& path);

} // namespace lx::platform
