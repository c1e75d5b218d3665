#include "uFindStrUtilsPro.h"

#include <algorithm>

namespace lx {

namespace {

inline char16_t FoldWide(char16_t c) {
    if ((c >= 97 && c <= 122) || (c >= 224 && c <= 255) || (c >= 1072 && c <= 1103))
        return static_cast<char16_t>(c - 32);
    return c;
}

inline char Fold8(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 97 && u <= 122) || u >= 224)
        return static_cast<char>(u - 32);
    return c;
}

template <class S, class Eq> int FindImpl(const S& what, const S& where, int from, int way, Eq eq) {
    if (way != fForward && way != fBack)
        throw EFindWay();
    const int n = static_cast<int>(where.size());
    const int m = static_cast<int>(what.size());
    if (n == 0 || m == 0 || n < m)
        return -1;
    auto matchAt = [&](int p) { // p is 1-based
        for (int k = 0; k < m; ++k)
            if (!eq(where[static_cast<std::size_t>(p - 1 + k)], what[static_cast<std::size_t>(k)]))
                return false;
        return true;
    };
    const int last = n - m + 1;
    if (way == fForward) {
        for (int p = std::max(from, 1); p <= last; ++p)
            if (matchAt(p))
                return p;
        return -1;
    }
    for (int p = std::min(from, last); p >= 1; --p)
        if (matchAt(p))
            return p;
    return -1;
}

template <class S> S ReplaceImpl(const S& find, const S& replace, const S& text, bool all) {
    if (find.empty())
        return text;
    S out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = text.find(find, pos);
        if (hit == S::npos)
            break;
        out.append(text, pos, hit - pos);
        out += replace;
        pos = hit + find.size();
        if (!all)
            break;
    }
    out.append(text, pos, S::npos);
    return out;
}

} // namespace

int Find(const std::string& what, const std::string& where, int from, int way) {
    return FindImpl(what, where, from, way, [](char a, char b) { return a == b; });
}

int Find(const std::u16string& what, const std::u16string& where, int from, int way) {
    return FindImpl(what, where, from, way, [](char16_t a, char16_t b) { return a == b; });
}

int FindNoCase(const std::string& what, const std::string& where, int from, int way) {
    return FindImpl(what, where, from, way, [](char a, char b) { return Fold8(a) == Fold8(b); });
}

int FindNoCase(const std::u16string& what, const std::u16string& where, int from, int way) {
    return FindImpl(what, where, from, way,
                    [](char16_t a, char16_t b) { return FoldWide(a) == FoldWide(b); });
}

int FindChar(char c, const std::string& where, int from, int way) {
    if (way != fForward && way != fBack)
        throw EFindWay();
    const int n = static_cast<int>(where.size());
    if (way == fForward) {
        for (int p = std::max(from, 1); p <= n; ++p)
            if (where[static_cast<std::size_t>(p - 1)] == c)
                return p;
        return -1;
    }
    for (int p = std::min(from, n); p >= 1; --p)
        if (where[static_cast<std::size_t>(p - 1)] == c)
            return p;
    return -1;
}

std::string ReplaceInText(const std::string& find, const std::string& replace,
                          const std::string& text, bool replaceAll) {
    return ReplaceImpl(find, replace, text, replaceAll);
}

std::u16string ReplaceInText(const std::u16string& find, const std::u16string& replace,
                             const std::u16string& text, bool replaceAll) {
    return ReplaceImpl(find, replace, text, replaceAll);
}

std::string ReplaceBetween(const std::string& startMark, const std::string& endMark,
                           const std::string& replacement, const std::string& text,
                           bool replaceAll) {
    if (startMark.empty() || endMark.empty())
        return text;
    std::string out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t s = text.find(startMark, pos);
        if (s == std::string::npos)
            break;
        const std::size_t e = text.find(endMark, s + startMark.size());
        if (e == std::string::npos)
            break;
        out.append(text, pos, s - pos);
        out += replacement;
        pos = e + endMark.size();
        if (!replaceAll)
            break;
    }
    out.append(text, pos, std::string::npos);
    return out;
}

} // namespace lx
