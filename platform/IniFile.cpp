#include "IniFile.h"

#include "Files.h"

namespace lx::platform {

namespace {

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return s.substr(b, e - b);
}

} // namespace

TIniFile::TIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

TIniFile::TLine TIniFile::ParseLine(const std::string& text) {
    TLine l;
    l.text = text;
    const std::string t = Trim(text);
    if (t.empty() || t[0] == ';')
        return l;
    if (t[0] == '[') {
        const auto close = t.find(']');
        l.kind = 1;
        l.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        return l;
    }
    const auto eq = t.find('=');
    if (eq == std::string::npos)
        return l;
    l.kind = 2;
    l.name = Trim(t.substr(0, eq));
    std::string v = Trim(t.substr(eq + 1));
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
        v = v.substr(1, v.size() - 2);
    l.value = std::move(v);
    return l;
}

std::vector<TIniFile::TLine> TIniFile::Load(std::string* eol) const {
    std::vector<TLine> lines;
    std::string data;
    if (eol)
        *eol = "\r\n"; // new files use Windows line ends, which every reader takes
    try {
        data = ReadWholeFile(FFileName);
    } catch (const EFileError&) {
        return lines; // a missing or unreadable file reads as empty
    }
    if (eol) {
        const auto lf = data.find('\n');
        *eol = (lf != std::string::npos && (lf == 0 || data[lf - 1] != '\r')) ? "\n" : "\r\n";
    }
    std::size_t pos = 0;
    while (pos < data.size()) {
        auto end = data.find('\n', pos);
        if (end == std::string::npos)
            end = data.size();
        std::string text = data.substr(pos, end - pos);
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        lines.push_back(ParseLine(text));
        pos = end + 1;
    }
    return lines;
}

bool TIniFile::Store(const std::vector<TLine>& lines, const std::string& eol) const {
    std::string data;
    for (const auto& l : lines) {
        data += l.text;
        data += eol;
    }
    try {
        WriteFileAtomic(FFileName, data);
        return true;
    } catch (const EFileError&) {
        return false;
    }
}

int TIniFile::FindSection(const std::vector<TLine>& lines, const std::string& section) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].kind == 1 && SameTextAscii(lines[i].name, section))
            return static_cast<int>(i);
    return -1;
}

std::size_t TIniFile::SectionEnd(const std::vector<TLine>& lines, std::size_t header) {
    std::size_t i = header + 1;
    while (i < lines.size() && lines[i].kind != 1)
        ++i;
    return i;
}

bool TIniFile::Read(const std::string& section, const std::string& key, std::string& value) const {
    const auto lines = Load(nullptr);
    const int s = FindSection(lines, section);
    if (s < 0)
        return false;
    const std::size_t end = SectionEnd(lines, static_cast<std::size_t>(s));
    for (std::size_t i = static_cast<std::size_t>(s) + 1; i < end; ++i)
        if (lines[i].kind == 2 && SameTextAscii(lines[i].name, key)) {
            value = lines[i].value.substr(0, kIniValueLimit);
            return true;
        }
    return false;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
    std::string v;
    return Read(section, key, v) ? v : def;
}

bool TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    std::string eol;
    auto lines = Load(&eol);
    // Line breaks inside a value would split it into separate lines.
    std::string clean;
    for (char c : value)
        if (c != '\r' && c != '\n')
            clean += c;
    TLine entry = ParseLine(Trim(key) + "=" + clean);
    const int s = FindSection(lines, section);
    if (s < 0) {
        if (!lines.empty() && !Trim(lines.back().text).empty())
            lines.push_back(ParseLine(""));
        lines.push_back(ParseLine("[" + section + "]"));
        lines.push_back(entry);
        return Store(lines, eol);
    }
    const std::size_t end = SectionEnd(lines, static_cast<std::size_t>(s));
    std::size_t lastKey = static_cast<std::size_t>(s);
    for (std::size_t i = static_cast<std::size_t>(s) + 1; i < end; ++i) {
        if (lines[i].kind != 2)
            continue;
        if (SameTextAscii(lines[i].name, key)) {
            if (lines[i].value == clean)
                return true;
            entry.text = lines[i].name + "=" + clean;
            lines[i] = entry;
            return Store(lines, eol);
        }
        lastKey = i;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastKey + 1), entry);
    return Store(lines, eol);
}

bool TIniFile::DeleteKey(const std::string& section, const std::string& key) {
    std::string eol;
    auto lines = Load(&eol);
    const int s = FindSection(lines, section);
    if (s < 0)
        return true;
    const std::size_t end = SectionEnd(lines, static_cast<std::size_t>(s));
    for (std::size_t i = static_cast<std::size_t>(s) + 1; i < end; ++i)
        if (lines[i].kind == 2 && SameTextAscii(lines[i].name, key)) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            return Store(lines, eol);
        }
    return true;
}

bool TIniFile::DeleteSection(const std::string& section) {
    std::string eol;
    auto lines = Load(&eol);
    const int s = FindSection(lines, section);
    if (s < 0)
        return true;
    const std::size_t end = SectionEnd(lines, static_cast<std::size_t>(s));
    lines.erase(lines.begin() + s, lines.begin() + static_cast<std::ptrdiff_t>(end));
    return Store(lines, eol);
}

std::vector<std::string> TIniFile::SectionNames() const {
    std::vector<std::string> names;
    for (const auto& l : Load(nullptr))
        if (l.kind == 1)
            names.push_back(l.name);
    return names;
}

std::vector<std::string> TIniFile::KeyNames(const std::string& section) const {
    std::vector<std::string> names;
    const auto lines = Load(nullptr);
    const int s = FindSection(lines, section);
    if (s < 0)
        return names;
    const std::size_t end = SectionEnd(lines, static_cast<std::size_t>(s));
    for (std::size_t i = static_cast<std::size_t>(s) + 1; i < end; ++i)
        if (lines[i].kind == 2)
            names.push_back(lines[i].name);
    return names;
}

bool TIniFile::SectionExists(const std::string& section) const {
    return FindSection(Load(nullptr), section) >= 0;
}

std::vector<TIniSection> TIniFile::ReadAll() const {
    std::vector<TIniSection> sections;
    for (auto& l : Load(nullptr)) {
        if (l.kind == 1)
            sections.push_back({std::move(l.name), {}});
        else if (l.kind == 2 && !sections.empty())
            sections.back().Keys.emplace_back(std::move(l.name), l.value.substr(0, kIniValueLimit));
    }
    return sections;
}

} // namespace lx::platform
