#pragma once
// Deterministic generator of realistic language packs for the benchmarks.

#include "engine/uEngine.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace lx::bench {

/// A small, fast, portable pseudo-random sequence (SplitMix64), so that every
/// build and every standard library produces the same packs.
class TRandom {
public:
    explicit TRandom(std::uint64_t seed) : FState(seed) {}
    std::uint64_t Next();
    /// Uniform in [lo, hi], both included.
    std::size_t Range(std::size_t lo, std::size_t hi);
    /// True with probability percent / 100.
    bool Chance(unsigned percent) { return Range(0, 99) < percent; }

private:
    std::uint64_t FState;
};

struct TPackLimits {
    /// Stop once the pack written as UTF8 reaches about this many bytes.
    std::size_t Utf8Bytes = 1u << 20;
    /// Stop once the tree holds this many items (SYSTEM items not counted).
    std::size_t Items = static_cast<std::size_t>(-1);
};

/// Fills an empty tree with a pack shaped like one exported from a desktop
/// program: a SYSTEM folder, forms (fMain, fDialog1, ...) holding their own
/// properties and components (btnOK, lblInfo12, ...) with their properties
/// (Caption, Hint, Text, ...), and a resourcestring folder with one sub-folder
/// per unit. Texts are 5 to 80 characters of Latin and Cyrillic words,
/// sometimes with '<' and '>'. The tree is built through the public API only.
/// Returns the number of items created.
std::size_t GeneratePack(TXMLTreeItem& tree, const TPackLimits& limits, std::uint64_t seed = 1);

/// The file bytes of `tree` in encoding `e` (the tree's encoding is changed).
std::string PackBytes(TXMLTreeItem& tree, TPackEncoding e);

} // namespace lx::bench
