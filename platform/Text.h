#pragma once
// Names compare ignoring the case of the ASCII letters a-z only.

#include <string>
#include <string_view>

namespace lx::platform {

inline char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

inline bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i]))
            return false;
    return true;
}

inline std::string UpperCaseAscii(std::string s) {
    for (char& c : s)
        c = UpperAscii(c);
    return s;
}

} // namespace lx::platform
