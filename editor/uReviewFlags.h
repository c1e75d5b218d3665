#pragma once
// Review flags: per pack and variable, whether the variable's text there
// needs (re-)translation. They live in the cache's package.ini, section
// "lpack_" + pack name, key "needtochange_" + path, value "true" or "false",
// so they travel with the packs and the design package sees the same flags.
//
// The browser asks for a flag for every painted row and pack, and the value
// panel clears one on every keystroke. So the file is held in memory and read
// again only when it changed on disk (another writer, a download), and a
// write that would not change what a read gives is left out.

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace lx::editor {

/// The file the flags of the open set live in.
std::string ReviewFlagsFileName();

class TReviewFlags {
public:
    /// The flag as a read of the file gives it: true only for the value
    /// "true" exactly; a missing key, section or file reads as false.
    bool Get(const std::string& fileName, const std::string& pack, const std::string& path);
    /// Writes "true" or "false". Clearing a flag that does not read "true"
    /// writes nothing (the read is false either way). False when the file
    /// cannot be written; the file and what reads give stay as they were.
    bool Set(const std::string& fileName, const std::string& pack, const std::string& path,
             bool flag);

    /// The paths (upper case) flagged in at least one of the packs.
    std::unordered_set<std::string> FlaggedPaths(const std::string& fileName,
                                                 const std::vector<std::string>& packs);

    static std::string Section(const std::string& pack) { return "lpack_" + pack; }
    static std::string Key(const std::string& path) { return "needtochange_" + path; }

private:
    struct TStamp {
        long long Seconds = -1, Nanos = 0, Size = -1, Inode = -1;
        bool operator==(const TStamp&) const = default;
    };
    static TStamp StampOf(const std::string& fileName);
    // Reads the file again when it is not the one held or changed on disk.
    void Sync(const std::string& fileName);
    const std::string* Find(const std::string& pack, const std::string& path) const;

    std::string FFileName;
    TStamp FStamp;
    bool FLoaded = false;
    // Lower-cased section -> lower-cased key -> value; first match wins, as reads do.
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> FValues;
};

} // namespace lx::editor
