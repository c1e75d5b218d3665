#include "CodePage.h"

#include <unicode/ucnv.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace lx::platform {

namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenConverter(int number) {
    const std::string n = std::to_string(number);
    const std::string names[] = {"windows-" + n, "cp" + n, "ibm-" + n};
    for (const auto& name : names) {
        UErrorCode err = U_ZERO_ERROR;
        UConverter* c = ucnv_open(name.c_str(), &err);
        if (U_SUCCESS(err) && c)
            return ConverterPtr(c);
    }
    if (number == 65001) {
        UErrorCode err = U_ZERO_ERROR;
        UConverter* c = ucnv_open("UTF-8", &err);
        if (U_SUCCESS(err) && c)
            return ConverterPtr(c);
    }
    return nullptr;
}

class TSingleByteCodePage final : public TCodePage {
public:
    TSingleByteCodePage(int number, UConverter* cnv) : FNumber(number) {
        FEncode.fill(kUnmapped);
        std::array<bool, 256> defined{};
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            UChar out[4];
            UErrorCode err = U_ZERO_ERROR;
            ucnv_reset(cnv);
            ucnv_setToUCallBack(cnv, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
            err = U_ZERO_ERROR;
            const int32_t n = ucnv_toUChars(cnv, out, 4, &byte, 1, &err);
            if (U_SUCCESS(err) && n == 1 && out[0] != 0xFFFD && out[0] != 0x1A) {
                FDecode[b] = out[0];
                defined[b] = true;
            } else if (b == 0x1A) {
                FDecode[b] = 0x1A;
                defined[b] = true;
            }
        }
        for (int b = 0; b < 256; ++b)
            if (defined[b])
                Map(FDecode[b], static_cast<unsigned char>(b));
        // Undefined bytes keep their own value as a C1 control character, when
        // no defined byte already uses that character.
        for (int b = 0; b < 256; ++b) {
            if (defined[b])
                continue;
            const char16_t c = static_cast<char16_t>(b);
            FDecode[b] = FEncode[c] != kUnmapped ? u'\xFFFD' : c;
            if (FEncode[c] == kUnmapped)
                Map(c, static_cast<unsigned char>(b));
        }
    }

    int Number() const override { return FNumber; }
    bool IsSingleByte() const override { return true; }
    char16_t DecodeByte(unsigned char b) const override { return FDecode[b]; }
    const char16_t* DecodeTable() const override { return FDecode.data(); }
    const std::uint16_t* EncodeTable() const override { return FEncode.data(); }
    bool EncodeChar(char16_t c, char& out) const override {
        if (FEncode[c] == kUnmapped)
            return false;
        out = static_cast<char>(FEncode[c]);
        return true;
    }

    void DecodeAppend(const char* src, std::size_t len, std::u16string& out) const override {
        const std::size_t base = out.size();
        out.resize(base + len);
        char16_t* d = out.data() + base;
        const auto* s = reinterpret_cast<const unsigned char*>(src);
        for (std::size_t i = 0; i < len; ++i)
            d[i] = FDecode[s[i]];
    }

    void EncodeAppend(const char16_t* src, std::size_t len, std::string& out) const override {
        const std::size_t base = out.size();
        out.resize(base + len);
        char* d = out.data() + base;
        for (std::size_t i = 0; i < len; ++i) {
            const char16_t c = src[i];
            d[i] = FEncode[c] != kUnmapped ? static_cast<char>(FEncode[c]) : '?';
        }
    }

private:
    void Map(char16_t c, unsigned char b) {
        if (FEncode[c] == kUnmapped) {
            FEncode[c] = b;
        }
    }

    int FNumber;
    std::array<char16_t, 256> FDecode{};
    std::array<std::uint16_t, 65536> FEncode;
};

class TMultiByteCodePage final : public TCodePage {
public:
    TMultiByteCodePage(int number, ConverterPtr cnv) : FNumber(number), FCnv(std::move(cnv)) {
        UErrorCode err = U_ZERO_ERROR;
        ucnv_setSubstChars(FCnv.get(), "?", 1, &err);
    }

    int Number() const override { return FNumber; }
    bool IsSingleByte() const override { return false; }
    char16_t DecodeByte(unsigned char b) const override { return b < 0x80 ? b : u'\xFFFD'; }
    bool EncodeChar(char16_t c, char& out) const override {
        if (c >= 0x80)
            return false;
        out = static_cast<char>(c);
        return true;
    }

    void DecodeAppend(const char* src, std::size_t len, std::u16string& out) const override {
        if (len == 0)
            return;
        std::lock_guard lock(FMutex);
        const std::size_t base = out.size();
        out.resize(base + len + 1);
        UErrorCode err = U_ZERO_ERROR;
        ucnv_reset(FCnv.get());
        const int32_t n =
            ucnv_toUChars(FCnv.get(), reinterpret_cast<UChar*>(out.data() + base),
                          static_cast<int32_t>(len + 1), src, static_cast<int32_t>(len), &err);
        out.resize(base + (U_SUCCESS(err) || err == U_STRING_NOT_TERMINATED_WARNING ? n : 0));
    }

    void EncodeAppend(const char16_t* src, std::size_t len, std::string& out) const override {
        if (len == 0)
            return;
        std::lock_guard lock(FMutex);
        const std::size_t base = out.size();
        const std::size_t cap = len * 4 + 1;
        out.resize(base + cap);
        UErrorCode err = U_ZERO_ERROR;
        ucnv_reset(FCnv.get());
        const int32_t n =
            ucnv_fromUChars(FCnv.get(), out.data() + base, static_cast<int32_t>(cap),
                            reinterpret_cast<const UChar*>(src), static_cast<int32_t>(len), &err);
        out.resize(base + (U_SUCCESS(err) || err == U_STRING_NOT_TERMINATED_WARNING ? n : 0));
    }

private:
    int FNumber;
    ConverterPtr FCnv;
    mutable std::mutex FMutex;
};

} // namespace

const TCodePage& CodePage(int number) {
    static std::mutex mutex;
    static std::map<int, std::unique_ptr<TCodePage>> pages;
    std::lock_guard lock(mutex);
    auto it = pages.find(number);
    if (it != pages.end())
        return *it->second;
    ConverterPtr cnv = OpenConverter(number);
    if (!cnv)
        throw std::runtime_error("Unsupported ANSI code page " + std::to_string(number));
    std::unique_ptr<TCodePage> page;
    if (ucnv_getMaxCharSize(cnv.get()) == 1)
        page = std::make_unique<TSingleByteCodePage>(number, cnv.get());
    else
        page = std::make_unique<TMultiByteCodePage>(number, std::move(cnv));
    return *pages.emplace(number, std::move(page)).first->second;
}

int AnsiCodePageNumber() {
    const char* v = std::getenv("LX_ANSI_CODEPAGE");
    if (!v || !*v)
        return 1251;
    char* end = nullptr;
    const long n = std::strtol(v, &end, 10);
    if (*end != '\0' || n <= 0 || n > 65535)
        return 1251;
    return static_cast<int>(n);
}

const TCodePage& AnsiCodePage() {
    return CodePage(AnsiCodePageNumber());
}

// ASCII runs go eight bytes at a time; the rest byte by byte.
std::size_t Utf8ToUtf16Raw(const char* src, std::size_t len, char16_t* dst) {
    const auto* s = reinterpret_cast<const unsigned char*>(src);
    char16_t* d = dst;
    std::size_t i = 0;
    while (i < len) {
        if (i + 8 <= len) {
            std::uint64_t v;
            std::memcpy(&v, s + i, 8);
            if ((v & 0x8080808080808080ULL) == 0) {
                for (int k = 0; k < 8; ++k)
                    d[k] = s[i + static_cast<std::size_t>(k)];
                d += 8;
                i += 8;
                continue;
            }
        }
        const unsigned char c = s[i];
        if (c < 0x80) {
            *d++ = c;
            ++i;
            continue;
        }
        // Two-byte sequences (Cyrillic, Greek, Latin accents) without the loop.
        if (c >= 0xC2 && c <= 0xDF && i + 1 < len && (s[i + 1] & 0xC0) == 0x80) {
            *d++ = static_cast<char16_t>(((c & 0x1Fu) << 6) | (s[i + 1] & 0x3Fu));
            i += 2;
            continue;
        }
        // Decodes one sequence; on error emits U+FFFD for the maximal subpart
        // (the lead byte and the continuation bytes that were valid so far).
        std::uint32_t cp = 0;
        int need = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            need = 1;
            cp = c & 0x1Fu;
        } else if (c >= 0xE0 && c <= 0xEF) {
            need = 2;
            cp = c & 0x0Fu;
            if (c == 0xE0)
                lo = 0xA0;
            else if (c == 0xED)
                hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            need = 3;
            cp = c & 0x07u;
            if (c == 0xF0)
                lo = 0x90;
            else if (c == 0xF4)
                hi = 0x8F;
        } else {
            *d++ = 0xFFFD;
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        bool ok = true;
        for (int k = 0; k < need; ++k, ++j) {
            if (j >= len || s[j] < lo || s[j] > hi) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (s[j] & 0x3Fu);
            lo = 0x80;
            hi = 0xBF;
        }
        if (!ok) {
            *d++ = 0xFFFD;
            i = j;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            *d++ = static_cast<char16_t>(0xD800 + (cp >> 10));
            *d++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            *d++ = static_cast<char16_t>(cp);
        }
        i = j;
    }
    return static_cast<std::size_t>(d - dst);
}

void Utf8ToUtf16Append(const char* src, std::size_t len, std::u16string& out) {
    const std::size_t base = out.size();
    out.resize(base + len); // UTF-16 never needs more units than UTF-8 has bytes
    out.resize(base + Utf8ToUtf16Raw(src, len, out.data() + base));
}

std::u16string Utf8ToUtf16(std::string_view s) {
    std::u16string r;
    Utf8ToUtf16Append(s.data(), s.size(), r);
    return r;
}

std::size_t Utf16ToUtf8Raw(const char16_t* src, std::size_t len, char* dst) {
    char* d = dst;
    for (std::size_t i = 0; i < len; ++i) {
        std::uint32_t c = src[i];
        if (c < 0x80) {
            *d++ = static_cast<char>(c);
        } else if (c < 0x800) {
            *d++ = static_cast<char>(0xC0 | (c >> 6));
            *d++ = static_cast<char>(0x80 | (c & 0x3F));
        } else {
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < len && src[i + 1] >= 0xDC00 &&
                src[i + 1] <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (src[i + 1] - 0xDC00u);
                ++i;
                *d++ = static_cast<char>(0xF0 | (c >> 18));
                *d++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                *d++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                *d++ = static_cast<char>(0x80 | (c & 0x3F));
                continue;
            }
            if (c >= 0xD800 && c <= 0xDFFF)
                c = 0xFFFD; // a lone surrogate has no UTF-8 form
            *d++ = static_cast<char>(0xE0 | (c >> 12));
            *d++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            *d++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return static_cast<std::size_t>(d - dst);
}

void Utf16ToUtf8Append(const char16_t* src, std::size_t len, std::string& out) {
    const std::size_t base = out.size();
    out.resize(base + len * 3);
    out.resize(base + Utf16ToUtf8Raw(src, len, out.data() + base));
}

std::string Utf16ToUtf8(std::u16string_view s) {
    std::string r;
    Utf16ToUtf8Append(s.data(), s.size(), r);
    return r;
}

} // namespace lx::platform
