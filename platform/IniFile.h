#pragma once
// INI files with the semantics of Windows private profiles: section and key
// names compare ignoring ASCII case, the first match wins, spaces around names
// and values are trimmed, one pair of enclosing quotes is removed from a value,
// a missing or unreadable file reads as empty, and the file is created on the
// first write. Every write rewrites the file atomically and keeps all other
// lines (comments, order, unknown entries) as they were.

#include "Text.h"

#include <string>
#include <utility>
#include <vector>

namespace lx::platform {

/// Longest value a read returns, in bytes.
inline constexpr std::size_t kIniValueLimit = 16384;

/// One section as a read sees it: its name and its keys with their values.
struct TIniSection {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Keys;
};

class TIniFile {
public:
    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return FFileName; }

    /// The value, or nothing when the section or key is missing.
    bool Read(const std::string& section, const std::string& key, std::string& value) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;

    /// Each write returns false (and leaves the file as it was) when the file
    /// cannot be written.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value);
    bool DeleteKey(const std::string& section, const std::string& key);
    /// Removes the first section of that name with all its keys.
    bool DeleteSection(const std::string& section);

    std::vector<std::string> SectionNames() const;
    /// Key names of the first section of that name, in file order.
    std::vector<std::string> KeyNames(const std::string& section) const;
    bool SectionExists(const std::string& section) const;
    /// The whole file in one read: every section in file order (a repeated
    /// name included, although reads only see its first), each key with the
    /// value Read would give. For callers that look up many keys at once.
    std::vector<TIniSection> ReadAll() const;

private:
    struct TLine {
        std::string text;  // the line as stored, without its line break
        int kind = 0;      // 0 other, 1 section header, 2 key=value
        std::string name;  // section or key name, trimmed
        std::string value; // for keys: the value, trimmed and unquoted
    };
    std::vector<TLine> Load(std::string* eol) const;
    bool Store(const std::vector<TLine>& lines, const std::string& eol) const;
    static TLine ParseLine(const std::string& text);
    // Index of the first header of that section, or -1.
    static int FindSection(const std::vector<TLine>& lines, const std::string& section);
    // One past the last line that belongs to the section starting at `header`.
    static std::size_t SectionEnd(const std::vector<TLine>& lines, std::size_t header);

    std::string FFileName;
};

} // namespace lx::platform
