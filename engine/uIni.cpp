#include "uIni.h"

#include "platform/IniFile.h"

#include <climits>

namespace lx {

using platform::TIniFile;

std::string ReadStr(const std::string& section, const std::string& key, const std::string& def,
                    const std::string& fileName) {
    return TIniFile(fileName).ReadString(section, key, def);
}

int ReadInt(const std::string& section, const std::string& key, int def,
            const std::string& fileName) {
    std::string v;
    if (!TIniFile(fileName).Read(section, key, v))
        return def;
    std::size_t i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == '-' || v[i] == '+'))
        negative = v[i++] == '-';
    long long n = 0;
    for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i) {
        n = n * 10 + (v[i] - '0');
        if (n > INT_MAX)
            n = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        n = -n;
    if (n > INT_MAX)
        return INT_MAX;
    if (n < INT_MIN)
        return INT_MIN;
    return static_cast<int>(n);
}

bool ReadBool(const std::string& section, const std::string& key, bool def,
              const std::string& fileName) {
    const std::string v = ReadStr(section, key, "", fileName);
    if (platform::SameTextAscii(v, "true"))
        return true;
    if (platform::SameTextAscii(v, "false"))
        return false;
    return def;
}

bool WriteStr(const std::string& section, const std::string& key, const std::string& value,
              const std::string& fileName) {
    return TIniFile(fileName).WriteString(section, key, value);
}

bool WriteInt(const std::string& section, const std::string& key, int value,
              const std::string& fileName) {
    return WriteStr(section, key, std::to_string(value), fileName);
}

bool WriteBool(const std::string& section, const std::string& key, bool value,
               const std::string& fileName) {
    return WriteStr(section, key, value ? "true" : "false", fileName);
}

bool DeleteKey(const std::string& section, const std::string& key, const std::string& fileName) {
    return TIniFile(fileName).DeleteKey(section, key);
}

bool DeleteSection(const std::string& section, const std::string& fileName) {
    return TIniFile(fileName).DeleteSection(section);
}

} // namespace lx
