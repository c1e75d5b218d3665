// lxresscan: the build step of resource strings. Scans a program's sources for
// LX_RESOURCESTRING declarations, gives each its string-table identifier,
// writes the C++ source that compiles the table into the program, and the
// .drc map (identifier -> unit file and constant) that goes beside it.
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "runtime/uRepository.h"
#include "runtime/uResUtils.h"

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace lx;

namespace {

const char* kUsage = R"(usage: lxresscan --output TABLE.cpp --drc PROGRAM.drc [--ids IDS] SOURCES...

Identifiers stay stable when --ids names a file that keeps them between builds
("<identifier> <unit file> <constant>" lines; new strings are appended).

exit status: 0 success, 1 failure, 2 usage error
)";

std::string BaseName(const std::string& p) {
    const auto s = p.find_last_of("/\\");
    return s == std::string::npos ? p : p.substr(s + 1);
}

std::string CppBytes(const std::string& bytes) {
    std::string out;
    char buf[8];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%u,", static_cast<unsigned char>(bytes[i]));
        out += buf;
        if (i % 24 == 23)
            out += "\n    ";
    }
    return out;
}

std::string CppString(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

} // namespace

int main(int argc, char** argv) {
    std::string output, drc, ids;
    std::vector<std::string> sources;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if ((a == "--output" || a == "--drc" || a == "--ids") && i + 1 < argc) {
            (a == "--output" ? output : a == "--drc" ? drc : ids) = argv[++i];
        } else if (!a.empty() && a[0] != '-') {
            sources.push_back(a);
        } else {
            std::fprintf(stderr, "lxresscan: bad argument '%s'\n", a.c_str());
            return 2;
        }
    }
    if (output.empty() || drc.empty()) {
        std::fputs("lxresscan: --output and --drc are required\n", stderr);
        return 2;
    }
    try {
        // Every declaration, with its unit file name.
        std::map<std::pair<std::string, std::string>, std::string> decls;
        for (const auto& src : sources) {
            const std::string unit = BaseName(src);
            for (auto& d : ScanResourceStrings(unit, platform::ReadWholeFile(src))) {
                auto key = std::make_pair(unit, d.Name);
                if (decls.count(key)) {
                    std::fprintf(stderr, "lxresscan: %s: %s is declared twice\n", src.c_str(),
                                 d.Name.c_str());
                    return 1;
                }
                decls[key] = d.Value;
            }
        }
        // Identifiers: the kept ones first, new strings after the largest.
        std::map<std::pair<std::string, std::string>, std::uint32_t> kept;
        std::uint32_t next = 1;
        std::string idsText;
        if (!ids.empty() && platform::FileExists(ids)) {
            idsText = platform::ReadWholeFile(ids);
            std::size_t pos = 0;
            while (pos < idsText.size()) {
                auto end = idsText.find('\n', pos);
                if (end == std::string::npos)
                    end = idsText.size();
                const std::string line = idsText.substr(pos, end - pos);
                pos = end + 1;
                unsigned id = 0;
                char unit[512], name[512];
                if (std::sscanf(line.c_str(), "%u %511s %511s", &id, unit, name) == 3 && id > 0 &&
                    id < 65536) {
                    kept[{unit, name}] = id;
                    next = std::max(next, id + 1);
                }
            }
        }
        std::set<std::uint32_t> used;
        for (const auto& [k, id] : kept)
            if (decls.count(k))
                used.insert(id);
        TStringTable table;
        std::vector<TDrcEntry> map;
        std::string newIds;
        for (const auto& [k, value] : decls) {
            std::uint32_t id = 0;
            if (auto it = kept.find(k); it != kept.end())
                id = it->second;
            else {
                while (used.count(next))
                    ++next;
                if (next >= 65536)
                    throw std::runtime_error("more than 65535 resource strings");
                id = next++;
                used.insert(id);
            }
            table[id] = platform::Utf8ToUtf16(value);
            map.push_back({id, k.first, k.second});
        }
        std::sort(map.begin(), map.end(),
                  [](const TDrcEntry& a, const TDrcEntry& b) { return a.ResID < b.ResID; });
        for (const auto& e : map)
            newIds += std::to_string(e.ResID) + " " + e.UnitName + " " + e.Name + "\n";
        // Identifiers of strings that are gone stay reserved in the file.
        for (const auto& [k, id] : kept)
            if (!decls.count(k))
                newIds += std::to_string(id) + " " + k.first + " " + k.second + "\n";
        if (!ids.empty() && newIds != idsText)
            platform::WriteFileAtomic(ids, newIds);

        std::string cpp = "// Generated by lxresscan: the program's resource-string table.\n"
                          "#include \"runtime/uResUtils.h\"\n\nnamespace {\n\n"
                          "// Kept in the program file, where tools read it back.\n"
                          "__attribute__((used)) const unsigned char kTable[] = {\n    ";
        cpp += CppBytes(WriteStringBlocks(kProgramTableMagic, BlocksOfTable(table)));
        cpp += "\n};\n\nconst lx::TResStringDecl kDecls[] = {\n";
        for (const auto& e : map)
            cpp += "    {" + std::to_string(e.ResID) + ", " + CppString(e.UnitName) + ", " +
                   CppString(e.Name) + "},\n";
        if (map.empty())
            cpp += "    {0, \"\", \"\"},\n";
        cpp += "};\n\n"
               "// Compiled into the program itself (never into a library), so this\n"
               "// registration cannot be dropped by the linker.\n"
               "const bool kRegistered = [] {\n"
               "    lx::RegisterProgramStringTable(kTable, sizeof kTable, kDecls, " +
               std::to_string(map.size()) + ");\n    return true;\n}();\n\n} // namespace\n";
        platform::WriteFileAtomic(output, cpp);
        platform::WriteFileAtomic(drc, WriteDrcMap(map));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lxresscan: %s\n", e.what());
        return 1;
    }
    return 0;
}
