#include "uResUtils.h"

#include <cstring>
#include <mutex>
#include <unordered_map>

namespace lx {

namespace {

void Put32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void Put16(std::string& out, std::uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

struct TReader {
    std::string_view Bytes;
    std::size_t Pos = 0;
    std::uint32_t Get32() {
        Need(4);
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(Bytes[Pos++])) << (8 * i);
        return v;
    }
    std::uint16_t Get16() {
        Need(2);
        const auto lo = static_cast<unsigned char>(Bytes[Pos]);
        const auto hi = static_cast<unsigned char>(Bytes[Pos + 1]);
        Pos += 2;
        return static_cast<std::uint16_t>(lo | (hi << 8));
    }
    void Need(std::size_t n) const {
        if (Bytes.size() - Pos < n)
            throw EStringTableError("string table: the data ends inside a block");
    }
};

struct TProgramState {
    std::mutex Mutex;
    TStringTable Program;
    std::unordered_map<std::string, std::uint32_t> Decls; // "unit\nname" upper-cased
    TStringTable Active;
    bool HasActive = false;
};

TProgramState& State() {
    static TProgramState s;
    return s;
}

std::string DeclKey(std::string_view unit, std::string_view name) {
    std::string k;
    const auto slash = unit.find_last_of("/\\");
    if (slash != std::string_view::npos)
        unit = unit.substr(slash + 1);
    k.append(unit).push_back('\n');
    k.append(name);
    for (char& c : k)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return k;
}

} // namespace

std::string WriteStringBlocks(std::string_view magic, const std::vector<TStringBlock>& blocks) {
    std::string out(magic);
    Put32(out, static_cast<std::uint32_t>(blocks.size()));
    for (const auto& b : blocks) {
        Put32(out, b.Number);
        for (const auto& e : b.Entries) {
            const std::size_t n = std::min<std::size_t>(e.size(), 0xFFFF);
            Put16(out, static_cast<std::uint16_t>(n));
            for (std::size_t i = 0; i < n; ++i)
                Put16(out, e[i]);
        }
    }
    return out;
}

std::vector<TStringBlock> ReadStringBlocks(std::string_view magic, std::string_view bytes) {
    if (bytes.substr(0, magic.size()) != magic)
        throw EStringTableError("string table: not a string-table file");
    TReader r{bytes, magic.size()};
    const std::uint32_t count = r.Get32();
    std::vector<TStringBlock> blocks;
    for (std::uint32_t i = 0; i < count; ++i) {
        TStringBlock b;
        b.Number = r.Get32();
        if (b.Number == 0)
            throw EStringTableError("string table: block number 0");
        for (auto& e : b.Entries) {
            const std::uint16_t n = r.Get16();
            r.Need(2u * n);
            e.resize(n);
            for (std::uint16_t k = 0; k < n; ++k)
                e[k] = r.Get16();
        }
        blocks.push_back(std::move(b));
    }
    return blocks;
}

// The magic text also appears in the program as a plain constant, which may
// happen to read as an empty table: the table is the first occurrence that
// reads as a table with blocks, else an empty one.
std::vector<TStringBlock> FindStringBlocks(std::string_view magic, std::string_view file) {
    bool empty = false;
    for (std::size_t at = file.find(magic); at != std::string_view::npos;
         at = file.find(magic, at + 1)) {
        try {
            auto blocks = ReadStringBlocks(magic, file.substr(at));
            if (!blocks.empty())
                return blocks;
            empty = true;
        } catch (const EStringTableError&) {
        }
    }
    if (empty)
        return {};
    throw EStringTableError("the program holds no string table");
}

TStringTable TableOfBlocks(const std::vector<TStringBlock>& blocks) {
    TStringTable t;
    for (const auto& b : blocks)
        for (std::uint32_t i = 0; i < 16; ++i)
            if (!b.Entries[i].empty())
                t[(b.Number - 1) * 16 + i] = b.Entries[i];
    return t;
}

std::vector<TStringBlock> BlocksOfTable(const TStringTable& table) {
    std::vector<TStringBlock> blocks;
    for (const auto& [id, text] : table) {
        if (blocks.empty() || blocks.back().Number != BlockNumberOf(id)) {
            blocks.emplace_back();
            blocks.back().Number = BlockNumberOf(id);
        }
        blocks.back().Entries[BlockPositionOf(id)] = text;
    }
    return blocks;
}

void RegisterProgramStringTable(const unsigned char* blob, std::size_t size,
                                const TResStringDecl* decls, std::size_t declCount) {
    TProgramState& s = State();
    std::lock_guard lock(s.Mutex);
    const auto blocks = ReadStringBlocks(
        kProgramTableMagic, std::string_view(reinterpret_cast<const char*>(blob), size));
    for (auto& [id, text] : TableOfBlocks(blocks))
        s.Program[id] = text;
    for (std::size_t i = 0; i < declCount; ++i)
        s.Decls[DeclKey(decls[i].Unit, decls[i].Name)] = decls[i].ResID;
}

const TStringTable& ProgramStringTable() {
    return State().Program;
}

std::uint32_t ProgramResID(std::string_view unit, std::string_view name) {
    TProgramState& s = State();
    std::lock_guard lock(s.Mutex);
    const auto it = s.Decls.find(DeclKey(unit, name));
    return it == s.Decls.end() ? 0 : it->second;
}

void SetActiveStringTable(TStringTable table) {
    TProgramState& s = State();
    std::lock_guard lock(s.Mutex);
    s.Active = std::move(table);
    s.HasActive = true;
}

void ClearActiveStringTable() {
    TProgramState& s = State();
    std::lock_guard lock(s.Mutex);
    s.Active.clear();
    s.HasActive = false;
}

bool HasActiveStringTable() {
    TProgramState& s = State();
    std::lock_guard lock(s.Mutex);
    return s.HasActive;
}

std::u16string LoadResString(std::uint32_t resID) {
    TProgramState& s = State();
    std::lock_guard lock(s.Mutex);
    if (s.HasActive)
        if (const auto it = s.Active.find(resID); it != s.Active.end())
            return it->second;
    if (const auto it = s.Program.find(resID); it != s.Program.end())
        return it->second;
    return {};
}

} // namespace lx
