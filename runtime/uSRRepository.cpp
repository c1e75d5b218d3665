// TSRRepository: resource strings of a project, their text format, the .drc
// map, the source scan, and filling the repository from a built program.
#include "uRepository.h"

#include "engine/uIni.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "uDsgProc.h"
#include "uResUtils.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <map>
#include <set>
#include <stdexcept>

namespace lx {

using platform::SameTextAscii;

namespace {

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Upper(std::string s) {
    return platform::UpperCaseAscii(std::move(s));
}

std::string ModuleKey(const std::string& name) {
    std::string k = Upper(BaseName(name));
    if (k.find('.') == std::string::npos)
        k += ".PAS";
    return k;
}

std::string StemOf(const std::string& file) {
    std::string b = BaseName(file);
    const auto dot = b.find_last_of('.');
    return dot == std::string::npos ? b : b.substr(0, dot);
}

} // namespace

TSRRepositoryModule* TSRRepositoryModules::GetItem(const std::string& name) const {
    const std::string key = ModuleKey(name);
    TSRRepositoryModule* found = nullptr;
    for (const auto& m : FModules)
        if (ModuleKey(m->Name) == key)
            found = m.get();
    return found;
}

TSRRepositoryModule* TSRRepositoryModules::Add(const std::string& name) {
    if (TSRRepositoryModule* m = GetItem(name))
        return m;
    FModules.push_back(std::make_unique<TSRRepositoryModule>(name));
    return FModules.back().get();
}

int TSRRepository::GetNewID() {
    int m = 0;
    for (const auto& r : Items)
        m = std::max(m, r.ID);
    for (int i = 0; i < Modules.Count(); ++i)
        for (const auto& r : Modules.At(i)->Items)
            m = std::max(m, r.ID);
    const std::string dof = DesignServices().GetProjectDofFileName();
    const int next = ReadInt("Lexivane", "xmlAutoIncValue", m, dof) + 1;
    if (!dof.empty())
        WriteInt("Lexivane", "xmlAutoIncValue", next, dof);
    return next;
}

TSRRepositoryItemRec TSRRepository::FindByID(int id) const {
    for (const auto& r : Items)
        if (r.ID == id)
            return r;
    return {};
}

bool TSRRepository::AddItem(const TVarNameRec& rec, bool& added) {
    added = true;
    std::string unit = BaseName(rec.UnitName);
    if (unit.find('.') == std::string::npos) {
        const std::string project = StemOf(DesignServices().GetProjectDPRFileName());
        unit += !project.empty() && SameTextAscii(unit, project) ? ".dpr" : ".pas";
    }
    TSRRepositoryItems& target = Items;
    if (TSRRepositoryModule* m = Modules.GetItem(unit))
        for (const auto& r : m->Items)
            if ((SameTextAscii(r.Name, rec.Name) && SameTextAscii(r.Value, rec.Value)) ||
                (r.UnitName.empty() && r.Name.empty() && SameTextAscii(r.Value, rec.Value))) {
                added = false;
                return true;
            }
    TSRRepositoryItemRec* unbound = nullptr;
    for (auto& r : target)
        if (r.Name.empty() && r.UnitName.empty() && SameTextAscii(r.Value, rec.Value)) {
            unbound = &r;
            break;
        }
    TSRRepositoryModule* module = Modules.GetItem(unit);
    if (!module) {
        module = Modules.Add(unit);
        if (FEditor)
            FEditor->NewModule(unit);
    }
    std::vector<std::string> changed{unit};
    TSRRepositoryItemRec copy;
    if (!unbound) {
        TSRRepositoryItemRec r;
        r.ResID = 0;
        r.ID = GetNewID();
        r.Value = rec.Value;
        r.UnitName = unit;
        r.Name = rec.Name;
        r.Flag = true;
        target.push_back(r);
        copy = r;
    } else {
        if (TSRRepositoryModule* old = Modules.GetItem(unbound->UnitName); old && old != module) {
            const std::int32_t resID = unbound->ResID;
            std::erase_if(old->Items,
                          [&](const TSRRepositoryItemRec& x) { return x.ResID == resID; });
            changed.push_back(old->Name);
        }
        unbound->UnitName = unit;
        unbound->Name = rec.Name;
        unbound->Flag = true;
        copy = *unbound;
    }
    module->Items.push_back(copy);
    if (FEditor)
        FEditor->UpdateModuleInfo(changed);
    return true;
}

// --- text format -----------------------------------------------------------

std::string TSRRepository::WriteToText() const {
    std::string out = std::to_string(Items.size()) + "|";
    auto text = [&out](const std::string& s) {
        for (char c : s) {
            out += c;
            if (c == '|')
                out += '|';
        }
        out += '|';
    };
    for (const auto& r : Items) {
        out += std::to_string(r.ResID) + "|" + std::to_string(r.ID) + "|";
        text(r.Value);
        text(r.UnitName);
        text(r.Name);
        out += r.Flag ? "1|" : "0|";
    }
    return out;
}

namespace {

// The stored text writes '|' doubled inside texts, so an empty text field
// followed by another field also reads "||". Unit file names and constant
// names never hold '|', so there "||" always ends the field; in a value it is
// taken as a '|' unless the rest of the record then fails to read, in which
// case the value ends there.
class TRepositoryReader {
public:
    explicit TRepositoryReader(const std::string& t) : T(t) {}

    std::int32_t Number() {
        const auto bar = T.find('|', Pos);
        if (bar == std::string::npos)
            throw std::runtime_error("SRRepository: the stored list ends inside a field");
        const std::string f = T.substr(Pos, bar - Pos);
        std::int32_t v = 0;
        const auto [p, ec] = std::from_chars(f.data(), f.data() + f.size(), v);
        if (f.empty() || ec != std::errc() || p != f.data() + f.size())
            throw std::runtime_error("SRRepository: '" + f + "' is not a valid integer value");
        Pos = bar + 1;
        return v;
    }

    // Value, unit and name, positioned before the flag field.
    void Texts(std::string& value, std::string& unit, std::string& name) {
        if (!ReadValue(Pos, value, unit, name))
            throw std::runtime_error("SRRepository: the stored list ends inside a field");
    }

    std::size_t Pos = 0;

private:
    // A field without '|' from `pos`; returns the position after its '|'.
    bool Plain(std::size_t pos, std::string& out, std::size_t& next) const {
        const auto bar = T.find('|', pos);
        if (bar == std::string::npos)
            return false;
        out = T.substr(pos, bar - pos);
        next = bar + 1;
        return true;
    }

    bool RestFits(std::size_t pos, std::string& unit, std::string& name, std::size_t& after) const {
        std::size_t p1 = 0, p2 = 0;
        if (!Plain(pos, unit, p1) || !Plain(p1, name, p2))
            return false;
        // The flag, then the end or the next record's first number.
        const auto bar = T.find('|', p2);
        if (bar == std::string::npos)
            return false;
        const std::string flag = T.substr(p2, bar - p2);
        if (flag != "0" && flag != "1")
            return false;
        after = p2;
        return true;
    }

    bool ReadValue(std::size_t pos, std::string& value, std::string& unit, std::string& name) {
        std::string cur;
        for (std::size_t i = pos; i < T.size(); ++i) {
            if (T[i] != '|') {
                cur += T[i];
                continue;
            }
            if (i + 1 < T.size() && T[i + 1] == '|') {
                // Prefer a doubled '|' inside the value; fall back to a field end.
                std::string v2, u2, n2;
                const std::size_t save = Pos;
                if (ReadValue(i + 2, v2, u2, n2)) {
                    value = cur + "|" + v2;
                    unit = u2;
                    name = n2;
                    return true;
                }
                Pos = save;
            }
            std::size_t after = 0;
            if (RestFits(i + 1, unit, name, after)) {
                value = cur;
                Pos = after;
                return true;
            }
            return false;
        }
        return false;
    }

    const std::string& T;
};

} // namespace

void TSRRepository::ReadFromText(const std::string& text) {
    TRepositoryReader r(text);
    TSRRepositoryItems items;
    const std::int32_t count = r.Number();
    if (count < 0)
        throw std::runtime_error("SRRepository: a negative count");
    for (std::int32_t i = 0; i < count; ++i) {
        TSRRepositoryItemRec rec;
        rec.ResID = r.Number();
        rec.ID = r.Number();
        r.Texts(rec.Value, rec.UnitName, rec.Name);
        rec.Flag = r.Number() != 0;
        items.push_back(std::move(rec));
    }
    Items = std::move(items);
}

QStringList TSRRepository::WriteToList() const {
    const QString text = QString::fromStdString(WriteToText());
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines << line;
            line.clear();
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            continue;
        }
        line += c;
    }
    lines << line;
    return lines;
}

void TSRRepository::ReadFromList(const QStringList& list) {
    if (list.isEmpty()) {
        Items.clear();
        return;
    }
    ReadFromText(list.join(QStringLiteral("\r\n")).toStdString() + "\r\n");
}

// --- source scan and map ------------------------------------------------------

// Finds LX_RESOURCESTRING(name, "text" ["more"...]) outside comments and
// reads the C++ escapes of the literal.
std::vector<TVarNameRec> ScanResourceStrings(const std::string& unitName, const std::string& src) {
    std::vector<TVarNameRec> found;
    const std::string macro = "LX_RESOURCESTRING";
    const std::size_t n = src.size();
    std::size_t i = 0;
    auto skipSpace = [&] {
        for (;;) {
            while (i < n && std::isspace(static_cast<unsigned char>(src[i])))
                ++i;
            if (i + 1 < n && src[i] == '/' && src[i + 1] == '/') {
                while (i < n && src[i] != '\n')
                    ++i;
            } else if (i + 1 < n && src[i] == '/' && src[i + 1] == '*') {
                const auto e = src.find("*/", i + 2);
                i = e == std::string::npos ? n : e + 2;
            } else {
                return;
            }
        }
    };
    auto literal = [&](std::string& out) {
        if (i >= n || src[i] != '"')
            return false;
        ++i;
        while (i < n && src[i] != '"') {
            char c = src[i++];
            if (c == '\\' && i < n) {
                const char e = src[i++];
                switch (e) {
                case 'n':
                    c = '\n';
                    break;
                case 'r':
                    c = '\r';
                    break;
                case 't':
                    c = '\t';
                    break;
                case '0':
                    c = '\0';
                    break;
                case 'x': {
                    int v = 0, digits = 0;
                    while (i < n && digits < 2 &&
                           std::isxdigit(static_cast<unsigned char>(src[i]))) {
                        const char h = src[i++];
                        v = v * 16 + (h <= '9' ? h - '0' : (h | 32) - 'a' + 10);
                        ++digits;
                    }
                    c = static_cast<char>(v);
                    break;
                }
                default:
                    c = e; // \" \\ \' and the rest stand for themselves
                }
            }
            out += c;
        }
        if (i >= n)
            return false;
        ++i;
        return true;
    };
    while (i < n) {
        if (src.compare(i, 2, "//") == 0 || src.compare(i, 2, "/*") == 0) {
            skipSpace();
            continue;
        }
        if (src[i] == '"') { // skip other string literals
            std::string ignored;
            if (!literal(ignored))
                break;
            continue;
        }
        const bool atWord = src.compare(i, macro.size(), macro) == 0 &&
                            (i == 0 || !(std::isalnum(static_cast<unsigned char>(src[i - 1])) ||
                                         src[i - 1] == '_'));
        if (!atWord) {
            ++i;
            continue;
        }
        // "#define LX_RESOURCESTRING" is the macro itself, not a declaration.
        std::size_t line = src.rfind('\n', i);
        line = line == std::string::npos ? 0 : line + 1;
        const bool isDefine = src.find("#define", line) < i;
        i += macro.size();
        if (isDefine)
            continue;
        skipSpace();
        if (i >= n || src[i] != '(')
            continue;
        ++i;
        skipSpace();
        std::size_t b = i;
        while (i < n && (std::isalnum(static_cast<unsigned char>(src[i])) || src[i] == '_'))
            ++i;
        TVarNameRec r;
        r.UnitName = unitName;
        r.Name = src.substr(b, i - b);
        skipSpace();
        if (r.Name.empty() || i >= n || src[i] != ',')
            continue;
        ++i;
        skipSpace();
        bool ok = false;
        while (i < n && src[i] == '"') {
            ok = literal(r.Value);
            if (!ok)
                break;
            skipSpace();
        }
        if (ok && i < n && src[i] == ')')
            found.push_back(std::move(r));
    }
    return found;
}

std::vector<TDrcEntry> ReadDrcMap(const std::string& text) {
    std::vector<TDrcEntry> entries;
    std::size_t pos = 0;
    while (pos < text.size()) {
        auto end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (line.rfind("#define ", 0) != 0)
            continue;
        const auto sp = line.find(' ', 8);
        if (sp == std::string::npos)
            continue;
        const std::string symbol = line.substr(8, sp - 8);
        std::size_t p = sp + 1;
        std::uint32_t id = 0;
        const auto [q, ec] = std::from_chars(line.data() + p, line.data() + line.size(), id);
        if (ec != std::errc())
            continue;
        TDrcEntry e{id, {}, {}};
        const auto open = line.find("/* ", static_cast<std::size_t>(q - line.data()));
        const auto close = line.rfind(" */");
        if (open != std::string::npos && close != std::string::npos && close > open)
            e.UnitName = line.substr(open + 3, close - open - 3);
        const std::string stem = StemOf(e.UnitName);
        e.Name = !stem.empty() && symbol.rfind(stem + "_", 0) == 0 ? symbol.substr(stem.size() + 1)
                                                                   : symbol;
        entries.push_back(std::move(e));
    }
    return entries;
}

std::string WriteDrcMap(const std::vector<TDrcEntry>& entries) {
    std::string out = "/* Resource string identifiers of the program: generated by the build. */\n";
    for (const auto& e : entries)
        out += "#define " + StemOf(e.UnitName) + "_" + e.Name + " " + std::to_string(e.ResID) +
               " /* " + e.UnitName + " */\n";
    return out;
}

// --- filling from a built program --------------------------------------------

void TSRRepository::LoadResources(const std::string& exeFileName, const std::string& drcFileName,
                                  const std::vector<std::string>& sources) {
    DrcFileName = drcFileName;
    const TStringTable table =
        TableOfBlocks(FindStringBlocks(kProgramTableMagic, platform::ReadWholeFile(exeFileName)));
    std::map<std::uint32_t, TDrcEntry> map;
    if (platform::FileExists(drcFileName))
        for (auto& e : ReadDrcMap(platform::ReadWholeFile(drcFileName)))
            map[e.ResID] = std::move(e);

    std::set<std::string> scanned;
    for (const auto& s : sources)
        scanned.insert(Upper(BaseName(s)));
    const std::string project = Upper(BaseName(FProjectFileName));

    // Every string of the program, bound to its stored record where there is one.
    for (auto& r : Items)
        r.ResID = 0;
    for (const auto& [id, text] : table) {
        const std::string value = platform::Utf16ToUtf8(text);
        const auto m = map.find(id);
        TSRRepositoryItemRec* rec = nullptr;
        if (m != map.end())
            for (auto& r : Items)
                if (SameTextAscii(r.Name, m->second.Name) &&
                    SameTextAscii(BaseName(r.UnitName), BaseName(m->second.UnitName)) &&
                    r.ResID == 0)
                    rec = &r;
        if (!rec)
            for (auto& r : Items)
                if (r.ResID == 0 && r.Value == value && (r.Name.empty() || m == map.end())) {
                    rec = &r;
                    break;
                }
        if (!rec) {
            TSRRepositoryItemRec r;
            r.ID = GetNewID();
            Items.push_back(r);
            rec = &Items.back();
        }
        rec->ResID = static_cast<std::int32_t>(id);
        rec->Value = value;
        if (m != map.end()) {
            rec->UnitName = BaseName(m->second.UnitName);
            rec->Name = m->second.Name;
            rec->Flag = true;
        }
    }
    // A record neither compiled in nor declared anywhere is gone.
    std::erase_if(Items,
                  [](const TSRRepositoryItemRec& r) { return r.ResID == 0 && r.Name.empty(); });

    Modules.Clear();
    auto newModule = [this](const std::string& name) {
        const int before = Modules.Count();
        TSRRepositoryModule* mod = Modules.Add(name);
        if (Modules.Count() != before && FEditor)
            FEditor->NewModule(name);
        return mod;
    };
    // GetItem gives names without a dot ".PAS", so the special modules are
    // kept by pointer rather than looked up.
    TSRRepositoryModule* projectModule = newModule("$Project");
    TSRRepositoryModule* shareModule = newModule("$Share");
    TSRRepositoryModule* unbound = newModule("");
    for (const auto& r : Items) {
        if (r.UnitName.empty()) {
            unbound->Items.push_back(r);
        } else if (scanned.count(Upper(r.UnitName))) {
            newModule(r.UnitName)->Items.push_back(r);
            if (!project.empty() && Upper(r.UnitName) == project)
                projectModule->Items.push_back(r);
        } else {
            shareModule->Items.push_back(r);
        }
    }
    // Declarations the build has not compiled yet join as new strings.
    for (const auto& src : sources) {
        if (!platform::FileExists(src))
            continue;
        for (const auto& decl : ScanResourceStrings(BaseName(src), platform::ReadWholeFile(src))) {
            bool added = false;
            AddItem(decl, added);
        }
    }
    if (FEditor) {
        std::vector<std::string> all;
        for (int i = 0; i < Modules.Count(); ++i)
            all.push_back(Modules.At(i)->Name);
        FEditor->UpdateModuleInfo(all);
        FEditor->OnComplete();
    }
}

} // namespace lx
