#pragma once
// Searching with a direction, and replacing, on 8-bit and wide strings.
// Positions are 1-based; "not found" is -1. Way: fForward = 1, fBack = 2.

#include <stdexcept>
#include <string>

namespace lx {

inline constexpr int fForward = 1;
inline constexpr int fBack = 2;

/// An invalid search direction.
class EFindWay : public std::invalid_argument {
public:
    EFindWay() : std::invalid_argument("Way must be in [1..2], (const : fForward=1; fBack=2;)") {}
};

/// Case-sensitive substring search. Forward: the first position >= from at
/// which `what` fits wholly; backward: the last such position <= from.
int Find(const std::string& what, const std::string& where, int from, int way);
int Find(const std::u16string& what, const std::u16string& where, int from, int way);

/// As Find, ignoring case by the folding rule: a-z, and in the 8-bit version
/// codes 224-255 (Windows Cyrillic lower case); in the wide version a-z,
/// 224-255 and 1072-1103 (Cyrillic а-я). Each folds by subtracting 32.
int FindNoCase(const std::string& what, const std::string& where, int from, int way);
int FindNoCase(const std::u16string& what, const std::u16string& where, int from, int way);

/// One 8-bit character: forward the first position >= from holding it,
/// backward the last position <= from.
int FindChar(char c, const std::string& where, int from, int way);

/// Replaces occurrences of `find` scanning from the left; replaced text is never
/// rescanned. Without replaceAll only the first. An empty `find` changes nothing.
std::string ReplaceInText(const std::string& find, const std::string& replace,
                          const std::string& text, bool replaceAll);
std::u16string ReplaceInText(const std::u16string& find, const std::u16string& replace,
                             const std::u16string& text, bool replaceAll);

/// Replaces each span from a start mark to the first end mark after it. A start
/// mark with no end mark after it is left as it is, with the rest of the text.
std::string ReplaceBetween(const std::string& startMark, const std::string& endMark,
                           const std::string& replacement, const std::string& text,
                           bool replaceAll);

} // namespace lx
