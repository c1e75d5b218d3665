// libFuzzer target for the pack reader and writer.
//
// The input is read as a pack once with the default settings (the encoding is
// detected from SYSTEM/ENCODING) and once in each encoding forced on a tree
// that drops the SYSTEM items. Whatever was read is written back. When the read
// succeeded, the written bytes are read again into a tree set up the same way
// and written once more: that second write must equal the first, or the pack
// would drift a little with every save. The reader must also accept whatever
// the writer produced. A broken rule aborts, so libFuzzer keeps the input.

#include "engine/uEngine.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

using namespace lx;

namespace {

enum class TMode { Detect, ANSI, UTF8, HTML };

constexpr std::array<TMode, 4> kModes = {TMode::Detect, TMode::ANSI, TMode::UTF8, TMode::HTML};

const char* ModeName(TMode m) {
    switch (m) {
    case TMode::Detect:
        return "default settings";
    case TMode::ANSI:
        return "ANSI";
    case TMode::UTF8:
        return "UTF8";
    case TMode::HTML:
        return "HTML";
    }
    return "?";
}

void Setup(TXMLTreeItem& tree, TMode mode) {
    if (mode == TMode::Detect)
        return;
    tree.SetKeepSystemItems(false);
    switch (mode) {
    case TMode::ANSI:
        tree.SetEncoding(TPackEncoding::ANSI);
        break;
    case TMode::UTF8:
        tree.SetEncoding(TPackEncoding::UTF8);
        break;
    case TMode::HTML:
        tree.SetEncoding(TPackEncoding::HTML);
        break;
    case TMode::Detect:
        break;
    }
}

void DumpBytes(const char* title, std::string_view bytes) {
    std::fprintf(stderr, "%s (%zu bytes):", title, bytes.size());
    for (std::size_t i = 0; i < bytes.size() && i < 512; ++i)
        std::fprintf(stderr, "%s%02x", i % 32 ? " " : "\n  ", static_cast<unsigned char>(bytes[i]));
    std::fprintf(stderr, "%s\n", bytes.size() > 512 ? "\n  ..." : "");
}

[[noreturn]] void Fail(const char* what, TMode mode, std::string_view first,
                       std::string_view second) {
    std::fprintf(stderr, "\n*** %s (read with %s)\n", what, ModeName(mode));
    const auto diff = std::mismatch(first.begin(), first.end(), second.begin(), second.end());
    std::fprintf(stderr, "first difference at byte %zu\n",
                 static_cast<std::size_t>(diff.first - first.begin()));
    DumpBytes("first write", first);
    DumpBytes("second write", second);
    std::abort();
}

// Reads `bytes` into `tree`; false when the engine rejects them.
bool Read(TXMLTreeItem& tree, std::string_view bytes) {
    try {
        tree.OpenFromBytes(bytes, "");
        return true;
    } catch (const EXMLParseError& e) {
        if (e.Offset() > bytes.size()) {
            std::fprintf(stderr, "parse error offset %zu beyond the %zu bytes read\n", e.Offset(),
                         bytes.size());
            std::abort();
        }
        return false;
    } catch (const std::exception&) {
        return false;
    }
}

// Calls the tree operations that work on names and paths on a few nodes.
void Exercise(TXMLTreeItem& tree) {
    std::vector<TTree*> nodes;
    TTree* last = nullptr;
    tree.ForEach([&](TTree* n) {
        if (nodes.size() < 8)
            nodes.push_back(n);
        last = n;
    });
    if (last)
        nodes.push_back(last);
    for (TTree* n : nodes) {
        const std::string full = n->GetFullName();
        const TTree* found = tree.GetItem_F(full);
        if (found)
            (void)found->GetLevel();
        (void)n->FindInSubtree(full);
        (void)n->GetPathNames();
    }

    // After DeleteDuplicates no two siblings have exactly the same name.
    tree.DeleteDuplicates();
    bool unique = true;
    std::vector<std::string_view> names;
    auto checkSiblings = [&](const TTree* parent) {
        names.clear();
        for (int i = 0; i < parent->GetCount(); ++i)
            names.push_back(parent->GetItem_(i)->GetName());
        std::sort(names.begin(), names.end());
        if (std::adjacent_find(names.begin(), names.end()) != names.end())
            unique = false;
    };
    checkSiblings(&tree);
    tree.ForEach([&](TTree* n) {
        checkSiblings(n);
        return unique;
    });
    if (!unique) {
        std::fprintf(stderr, "DeleteDuplicates left two siblings of the same name\n");
        std::abort();
    }

    // `nodes` may have been deleted above: only the tree is used from here on.
    tree.ExpandCompoundNames();
    const std::string expanded = tree.SaveToBytes();
    TXMLTreeItem again;
    Read(again, expanded);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    for (TMode mode : kModes) {
        TXMLTreeItem first;
        Setup(first, mode);
        const bool ok = Read(first, input);
        const std::string written = first.SaveToBytes(); // also what a failed read kept
        if (!ok)
            continue;
        TXMLTreeItem second;
        Setup(second, mode);
        if (!Read(second, written))
            Fail("the reader rejects what the writer wrote", mode, written, {});
        const std::string rewritten = second.SaveToBytes();
        if (rewritten != written)
            Fail("writing the re-read pack gives other bytes", mode, written, rewritten);
        Exercise(first);
    }
    return 0;
}
