#pragma once
// Value encodings of the pack file, on raw buffers: the reader decodes every
// value into one scratch buffer, the writer encodes into one output buffer.

#include "uEngine.h"

#include "platform/CodePage.h"

#include <cstddef>
#include <string>

namespace lx::codec {

/// Decodes a value's bytes (without the final "&lt;"/"&gt;" pass) into `dst`,
/// which holds at least `len` units; returns the number of units. Multi-byte
/// code pages go through `spill` instead and return SIZE_MAX.
std::size_t DecodeInto(const char* src, std::size_t len, TPackEncoding encoding,
                       const platform::TCodePage& cp, char16_t* dst, std::u16string& spill);

/// "&lt;" becomes '<' and "&gt;" becomes '>', in one pass (the two marks never
/// overlap, so this equals replacing all of the first, then all of the second).
std::size_t UnescapeInPlace(char16_t* s, std::size_t n);

/// A growing output buffer written through a cursor.
class TOut {
public:
    explicit TOut(std::size_t expected) { FBuf.resize(expected < 4096 ? 4096 : expected); }
    /// Room for `n` more bytes; write them, then Commit the end.
    char* Reserve(std::size_t n) {
        if (FLen + n > FBuf.size())
            FBuf.resize(FBuf.size() * 2 > FLen + n ? FBuf.size() * 2 : FLen + n + 4096);
        return FBuf.data() + FLen;
    }
    void Commit(char* end) { FLen = static_cast<std::size_t>(end - FBuf.data()); }
    void Append(const char* s, std::size_t n);
    void Append(const std::string& s) { Append(s.data(), s.size()); }
    std::string Take() {
        FBuf.resize(FLen);
        return std::move(FBuf);
    }

private:
    std::string FBuf;
    std::size_t FLen = 0;
};

/// Encodes and escapes one value into `out`.
void EncodeInto(const char16_t* s, std::size_t n, TPackEncoding encoding,
                const platform::TCodePage& cp, TOut& out);

} // namespace lx::codec
