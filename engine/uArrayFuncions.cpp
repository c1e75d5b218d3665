#include "uArrayFuncions.h"

#include "platform/IniFile.h"

namespace lx {

TStringArray explode(const std::string& text, const std::string& separator, bool skipEmpty) {
    TStringArray pieces;
    if (text.empty())
        return pieces;
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = text.find(separator, pos);
        if (hit == std::string::npos)
            break;
        if (!skipEmpty || hit > pos)
            pieces.push_back(text.substr(pos, hit - pos));
        pos = hit + separator.size();
    }
    if (pos < text.size())
        pieces.push_back(text.substr(pos));
    return pieces;
}

std::string implode(const TStringArray& array, const std::string& separator) {
    std::string r;
    for (std::size_t i = 0; i < array.size(); ++i) {
        if (i)
            r += separator;
        r += array[i];
    }
    return r;
}

int ArraySearch(const std::string& text, const TStringArray& array) {
    for (std::size_t i = 0; i < array.size(); ++i)
        if (platform::SameTextAscii(array[i], text))
            return static_cast<int>(i);
    return -1;
}

bool InArray(const std::string& text, const TStringArray& array) {
    return ArraySearch(text, array) != -1;
}

int ArrayAddUnique(const std::string& text, TStringArray& array, bool allowDuplicates) {
    if (!allowDuplicates && InArray(text, array))
        return -1;
    array.push_back(text);
    return static_cast<int>(array.size()) - 1;
}

int ArrayInsert(const std::string& text, int index, TStringArray& array) {
    if (index < 0 || index >= static_cast<int>(array.size())) {
        array.push_back(text);
        return static_cast<int>(array.size()) - 1;
    }
    array.insert(array.begin() + index, text);
    return index;
}

void ArrayDelete(int index, TStringArray& array) {
    if (index < 0 || index >= static_cast<int>(array.size()))
        return;
    array.erase(array.begin() + index);
}

} // namespace lx
