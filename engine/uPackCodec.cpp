#include "uPackCodec.h"

#include <cstdint>
#include <cstring>

namespace lx::codec {

std::size_t UnescapeInPlace(char16_t* s, std::size_t n) {
    std::size_t w = 0;
    for (std::size_t r = 0; r < n;) {
        if (s[r] == u'&' && r + 3 < n && s[r + 2] == u't' && s[r + 3] == u';' &&
            (s[r + 1] == u'l' || s[r + 1] == u'g')) {
            s[w++] = s[r + 1] == u'l' ? u'<' : u'>';
            r += 4;
        } else {
            s[w++] = s[r++];
        }
    }
    return w;
}

namespace {

// Bytes of the 8-bit code page; single-byte pages through their table.
std::size_t DecodeBytes(const char* src, std::size_t len, const char16_t* table, char16_t* dst) {
    const auto* s = reinterpret_cast<const unsigned char*>(src);
    for (std::size_t i = 0; i < len; ++i)
        dst[i] = table[s[i]];
    return len;
}

// The HTML encoding: numeric references, other bytes from the code page. A
// reference is "&#" + a decimal number + ";" with the ';' at most seven
// positions after the '&' and at least five bytes from the '&' to the end.
template <class Literal>
void ScanHtml(const char* bytes, std::size_t n, Literal literal, char16_t*& d) {
    std::size_t run = 0;
    std::size_t i = 0;
    while (i < n) {
        const void* amp = std::memchr(bytes + i, '&', n - i);
        if (!amp)
            break;
        i = static_cast<std::size_t>(static_cast<const char*>(amp) - bytes);
        if (i + 1 >= n || bytes[i + 1] != '#' || n - i < 5) {
            ++i;
            continue;
        }
        std::size_t semi = 0;
        for (std::size_t j = i + 2; j <= i + 7 && j < n; ++j)
            if (bytes[j] == ';') {
                semi = j;
                break;
            }
        long value = 0;
        bool ok = semi != 0;
        if (ok) {
            std::size_t k = i + 2;
            bool negative = false;
            if (k < semi && (bytes[k] == '-' || bytes[k] == '+')) {
                negative = bytes[k] == '-';
                ++k;
            }
            ok = k < semi;
            for (; ok && k < semi; ++k) {
                if (bytes[k] < '0' || bytes[k] > '9')
                    ok = false;
                else
                    value = value * 10 + (bytes[k] - '0');
            }
            if (negative)
                value = -value;
        }
        if (!ok) {
            ++i;
            continue;
        }
        literal(bytes + run, i - run, d);
        *d++ = static_cast<char16_t>(static_cast<unsigned long>(value) & 0xFFFFu);
        i = semi + 1;
        run = i;
    }
    literal(bytes + run, n - run, d);
}

} // namespace

std::size_t DecodeInto(const char* src, std::size_t len, TPackEncoding encoding,
                       const platform::TCodePage& cp, char16_t* dst, std::u16string& spill) {
    if (encoding == TPackEncoding::UTF8)
        return platform::Utf8ToUtf16Raw(src, len, dst);
    const char16_t* table = cp.DecodeTable();
    if (table) {
        if (encoding == TPackEncoding::ANSI)
            return DecodeBytes(src, len, table, dst);
        char16_t* d = dst;
        ScanHtml(
            src, len,
            [table](const char* b, std::size_t n, char16_t*& out) {
                out += DecodeBytes(b, n, table, out);
            },
            d);
        return static_cast<std::size_t>(d - dst);
    }
    // Multi-byte code pages: ICU decides how many units come out.
    spill.clear();
    if (encoding == TPackEncoding::ANSI) {
        cp.DecodeAppend(src, len, spill);
        return SIZE_MAX;
    }
    spill.assign(len + 1, u'\0');
    char16_t* d = spill.data();
    std::u16string part;
    ScanHtml(
        src, len,
        [&](const char* b, std::size_t n, char16_t*& cur) {
            part.clear();
            cp.DecodeAppend(b, n, part);
            const std::size_t at = static_cast<std::size_t>(cur - spill.data());
            if (spill.size() < at + part.size() + len + 1)
                spill.resize(at + part.size() + len + 1);
            cur = spill.data() + at;
            std::memcpy(cur, part.data(), part.size() * sizeof(char16_t));
            cur += part.size();
        },
        d);
    spill.resize(static_cast<std::size_t>(d - spill.data()));
    return SIZE_MAX;
}

void TOut::Append(const char* s, std::size_t n) {
    char* d = Reserve(n);
    std::memcpy(d, s, n);
    Commit(d + n);
}

namespace {

inline char* PutEscaped(char* d, char b) {
    if (b == '<') {
        std::memcpy(d, "&lt;", 4);
        return d + 4;
    }
    if (b == '>') {
        std::memcpy(d, "&gt;", 4);
        return d + 4;
    }
    *d++ = b;
    return d;
}

inline char* PutReference(char* d, unsigned v) {
    char digits[8];
    int k = 0;
    do {
        digits[k++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v);
    *d++ = '&';
    *d++ = '#';
    while (k)
        *d++ = digits[--k];
    *d++ = ';';
    return d;
}

} // namespace

void EncodeInto(const char16_t* s, std::size_t n, TPackEncoding encoding,
                const platform::TCodePage& cp, TOut& out) {
    if (encoding == TPackEncoding::UTF8) {
        char* d = out.Reserve(4 * n); // 3 bytes a unit at most, 4 for an escape
        std::size_t i = 0;
        while (i < n) {
            // A run of plain ASCII is copied in one tight loop.
            std::size_t j = i;
            while (j < n && s[j] < 0x80 && s[j] != u'<' && s[j] != u'>')
                ++j;
            for (std::size_t k = i; k < j; ++k)
                *d++ = static_cast<char>(s[k]);
            i = j;
            if (i >= n)
                break;
            if (s[i] < 0x80) {
                d = PutEscaped(d, static_cast<char>(s[i]));
                ++i;
                continue;
            }
            j = i + 1;
            while (j < n && s[j] >= 0x80)
                ++j;
            d += platform::Utf16ToUtf8Raw(s + i, j - i, d);
            i = j;
        }
        out.Commit(d);
        return;
    }
    const bool html = encoding == TPackEncoding::HTML;
    if (const std::uint16_t* table = cp.EncodeTable()) {
        char* d = out.Reserve(8 * n); // "&#65535;" at most
        for (std::size_t i = 0; i < n; ++i) {
            const char16_t c = s[i];
            if (html) {
                // "&#" would read back as a character reference: the '&'
                // itself is written as one, which every reader decodes.
                if (c >= 256 || (c == u'&' && i + 1 < n && s[i + 1] == u'#')) {
                    d = PutReference(d, c);
                    continue;
                }
            }
            const std::uint16_t v = table[c];
            d = PutEscaped(d, v == platform::TCodePage::kUnmapped ? '?' : static_cast<char>(v));
        }
        out.Commit(d);
        return;
    }
    // Multi-byte code pages: convert runs, then escape the converted bytes.
    auto special = [&](std::size_t k) {
        return html && (s[k] >= 256 || (s[k] == u'&' && k + 1 < n && s[k + 1] == u'#'));
    };
    std::string converted;
    std::size_t i = 0;
    while (i < n) {
        std::size_t j = i;
        while (j < n && !special(j))
            ++j;
        converted.clear();
        cp.EncodeAppend(s + i, j - i, converted);
        char* d = out.Reserve(4 * converted.size() + 8);
        for (char b : converted)
            d = PutEscaped(d, b);
        if (j < n) {
            d = PutReference(d, s[j]);
            ++j;
        }
        out.Commit(d);
        i = j;
    }
}

} // namespace lx::codec
