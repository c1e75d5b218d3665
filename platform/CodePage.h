#pragma once
// The ANSI code page: the 8-bit code page of pack values and 8-bit texts.
// It is a Windows code page number taken from LX_ANSI_CODEPAGE (default 1251).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lx::platform {

/// A converter between one Windows code page and UTF-16.
/// Single-byte code pages use lookup tables; multi-byte ones go through ICU.
/// Bytes that a single-byte code page leaves undefined decode to the C1 control
/// character of the same value and encode back to that byte, so a read and
/// write of a pack never changes its bytes. Characters that the code page cannot
/// represent are written as '?', as Windows does.
class TCodePage {
public:
    virtual ~TCodePage() = default;
    virtual int Number() const = 0;
    /// Appends the UTF-16 form of `len` bytes at `src` to `out`.
    virtual void DecodeAppend(const char* src, std::size_t len, std::u16string& out) const = 0;
    /// Appends the code-page form of `len` UTF-16 units at `src` to `out`.
    virtual void EncodeAppend(const char16_t* src, std::size_t len, std::string& out) const = 0;
    /// True when every character is one byte; then DecodeByte / EncodeChar apply.
    virtual bool IsSingleByte() const = 0;
    virtual char16_t DecodeByte(unsigned char b) const = 0;
    /// Returns false when the character has no single-byte form.
    virtual bool EncodeChar(char16_t c, char& out) const = 0;
    /// For single-byte code pages, the tables behind DecodeByte (256 entries)
    /// and EncodeChar (65536 entries, kUnmapped for none); null otherwise.
    static constexpr std::uint16_t kUnmapped = 0xFFFF;
    virtual const char16_t* DecodeTable() const { return nullptr; }
    virtual const std::uint16_t* EncodeTable() const { return nullptr; }

    std::u16string Decode(std::string_view bytes) const {
        std::u16string r;
        DecodeAppend(bytes.data(), bytes.size(), r);
        return r;
    }
    std::string Encode(std::u16string_view text) const {
        std::string r;
        EncodeAppend(text.data(), text.size(), r);
        return r;
    }
};

/// The converter of a code page number. Throws std::runtime_error naming the
/// number when no converter exists for it. Converters live for the program.
const TCodePage& CodePage(int number);

/// The number in LX_ANSI_CODEPAGE, or 1251 when it is unset or not a number.
int AnsiCodePageNumber();

/// The converter of the current ANSI code page.
const TCodePage& AnsiCodePage();

/// Conversions between UTF-8 (file paths, command lines, terminals) and UTF-16.
/// Invalid UTF-8 decodes to one U+FFFD per maximal invalid subsequence.
/// Utf8ToUtf16Raw writes at most `len` units to `dst` and returns how many.
std::size_t Utf8ToUtf16Raw(const char* src, std::size_t len, char16_t* dst);
/// Writes at most 3 bytes per unit to `dst` and returns how many.
std::size_t Utf16ToUtf8Raw(const char16_t* src, std::size_t len, char* dst);
std::u16string Utf8ToUtf16(std::string_view s);
void Utf8ToUtf16Append(const char* src, std::size_t len, std::u16string& out);
std::string Utf16ToUtf8(std::u16string_view s);
void Utf16ToUtf8Append(const char16_t* src, std::size_t len, std::string& out);

} // namespace lx::platform
