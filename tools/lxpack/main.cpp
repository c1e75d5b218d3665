// lxpack: language packs on the command line.
#include "engine/uEngine.h"
#include "platform/CodePage.h"
#include "platform/Files.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

using namespace lx;

namespace {

constexpr const char* kVersion = "0.1.0";

const char* kUsage = R"(usage: lxpack [--sep SEP] COMMAND ARGS...

Reads and edits language packs (.lng). Paths name items from the top of the
pack, joined with '_' (or with SEP, given by --sep, for example '.'). Names
never contain '_'. SYSTEM_ENCODING and SYSTEM_LCID change only through the
commands encoding and lcid.

commands:
  dump FILE                    every item in order: "<level> <path> = <value>"
                               for variables, "<level> <path>/" for folders
  get FILE PATH                print the value of a variable
  set FILE PATH VALUE          set a variable's value, creating the path
  delete FILE PATH             remove an item with everything below it
  rename FILE PATH NEWNAME     rename an item
  move FILE PATH FOLDER        move an item into another folder ("" is the top)
  encoding FILE [ANSI|UTF8|HTML]
                               show the file's encoding, or convert the file
  lcid FILE [N]                show the language identifier, or set it
                               (N decimal, or hexadecimal as $0419 or 0x419)
  check FILE...                parse each file and report the malformed ones
  stats FILE...                counts, encoding and language of each file
  new FILE --encoding E --lcid N
                               create an empty pack

options:
  --sep SEP                    path separator, one character (default _)
  --help                       show this text
  --version                    show the version

exit status: 0 success, 1 failure, 2 usage error
)";

struct TUsageError {
    std::string text;
};

struct TFailure {
    std::string text;
};

std::string Describe(const std::string& file, const std::exception& e) {
    if (const auto* p = dynamic_cast<const EXMLParseError*>(&e))
        return file + ": " + p->what() + " (at byte " + std::to_string(p->Offset()) + ")";
    const std::string what = e.what();
    if (dynamic_cast<const platform::EFileError*>(&e))
        return what; // already names the file
    return file + ": " + what;
}

std::unique_ptr<TXMLTreeItem> Load(const std::string& file, char sep) {
    if (!platform::FileExists(file))
        throw TFailure{file + ": no such file"};
    auto pack = std::make_unique<TXMLTreeItem>();
    try {
        pack->OpenFromFile(file);
    } catch (const std::exception& e) {
        throw TFailure{Describe(file, e)};
    }
    pack->SetTreeSeparator(sep);
    return pack;
}

void Save(TXMLTreeItem& pack, const std::string& file) {
    try {
        pack.SaveToFile(file);
    } catch (const std::exception& e) {
        throw TFailure{Describe(file, e)};
    }
}

TXMLTreeItem* Find(TXMLTreeItem& pack, const std::string& file, const std::string& path) {
    auto* item = static_cast<TXMLTreeItem*>(pack.GetItem_F(path));
    if (!item || path.empty())
        throw TFailure{file + ": no item " + path};
    return item;
}

bool IsVariableWithValue(const TTree* node) {
    return node->GetParent() && node->GetCount() == 0 &&
           !static_cast<const TXMLTreeItem*>(node)->GetText().empty();
}

// A name the file can hold and give back: the writer puts names between '<' and
// '>' unescaped, a name starting with '/' would read as an end tag, and the reader
// splits every name at '_' whatever separator the command line uses.
void CheckNewName(const TTree& parent, const std::string& file, const std::string& name) {
    if (!parent.IsValidName(name) || name.find('_') != std::string::npos || name[0] == '/')
        throw TFailure{file + ": " + sMistakenItemName};
}

// The item at `path`, created with the folders above it when missing. Refuses a
// path through a variable that has a value: the variable would become a folder
// and its value would be lost on writing.
TXMLTreeItem* AddPath(TXMLTreeItem& pack, const std::string& file, const std::string& path) {
    const char sep = pack.GetTreeSeparator();
    TTree* node = &pack;
    for (const std::string& name : TTree::SplitPath(path, sep)) {
        if (IsVariableWithValue(node))
            throw TFailure{file + ": " + node->GetFullName() + " is a variable, not a folder"};
        TTree* child = node->FindChild(name);
        if (!child) {
            CheckNewName(*node, file, name);
            child = node->AddItem(name);
        }
        node = child;
    }
    return static_cast<TXMLTreeItem*>(node);
}

// SYSTEM/ENCODING and SYSTEM/LCID describe the file itself. The writer encodes
// values by the pack's encoding, not by the text of that item, so editing them
// as variables would leave a file that reads back garbled; only the commands
// 'encoding' and 'lcid' change them. `whole` also protects the SYSTEM folder
// (delete, rename, move).
void RefuseReserved(TXMLTreeItem& pack, const std::string& file, const TTree* item, bool whole) {
    const TTree* system = pack.FindChild("SYSTEM");
    if (!system)
        return;
    std::string use;
    if (item == system->FindChild("ENCODING"))
        use = "'lxpack encoding'";
    else if (item == system->FindChild("LCID"))
        use = "'lxpack lcid'";
    else if (whole && item == system)
        use = "'lxpack encoding' and 'lxpack lcid'";
    if (!use.empty())
        throw TFailure{file + ": " + item->GetFullName() + " is reserved (use " + use + ")"};
}

std::string Escaped(const std::u16string& text) {
    const std::string utf8 = platform::Utf16ToUtf8(text);
    std::string r;
    r.reserve(utf8.size());
    for (char c : utf8) {
        switch (c) {
        case '\r':
            r += "\\r";
            break;
        case '\n':
            r += "\\n";
            break;
        case '\t':
            r += "\\t";
            break;
        case '\\':
            r += "\\\\";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned>(c));
                r += buf;
            } else {
                r += c;
            }
        }
    }
    return r;
}

unsigned ParseLcid(const std::string& s) {
    std::string digits = s;
    int base = 10;
    if (!s.empty() && s[0] == '$') {
        digits = s.substr(1);
        base = 16;
    } else if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        digits = s.substr(2);
        base = 16;
    }
    char* end = nullptr;
    const unsigned long v = digits.empty() ? 0 : std::strtoul(digits.c_str(), &end, base);
    if (digits.empty() || *end != '\0' || v == 0 || v > 0xFFFF)
        throw TUsageError{"not a language identifier: " + s};
    return static_cast<unsigned>(v);
}

TPackEncoding ParseEncoding(const std::string& s) {
    TPackEncoding e;
    if (!EncodingFromName(s, e))
        throw TUsageError{"unknown encoding '" + s + "' (ANSI, UTF8 or HTML)"};
    return e;
}

void Need(const std::vector<std::string>& args, std::size_t min, std::size_t max) {
    if (args.size() < min || args.size() > max)
        throw TUsageError{"wrong number of arguments for '" + args[0] + "'"};
}

int CmdDump(const std::vector<std::string>& a, char sep) {
    Need(a, 2, 2);
    auto pack = Load(a[1], sep);
    std::string out;
    pack->ForEach([&out](TTree* n) {
        auto* item = static_cast<TXMLTreeItem*>(n);
        out += std::to_string(item->GetLevel());
        out += ' ';
        out += item->GetFullName();
        if (item->GetCount() > 0) {
            out += "/\n";
        } else {
            out += " = ";
            out += Escaped(item->GetText());
            out += '\n';
        }
    });
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

int CmdGet(const std::vector<std::string>& a, char sep) {
    Need(a, 3, 3);
    auto pack = Load(a[1], sep);
    const TXMLTreeItem* item = Find(*pack, a[1], a[2]);
    if (item->GetCount() > 0)
        throw TFailure{a[1] + ": " + a[2] + " is a folder"};
    const std::string v = platform::Utf16ToUtf8(item->GetText());
    std::fwrite(v.data(), 1, v.size(), stdout);
    std::fputc('\n', stdout);
    return 0;
}

int CmdSet(const std::vector<std::string>& a, char sep) {
    Need(a, 4, 4);
    auto pack = Load(a[1], sep);
    if (a[2].empty())
        throw TUsageError{"empty path"};
    auto* item = AddPath(*pack, a[1], a[2]);
    RefuseReserved(*pack, a[1], item, false);
    if (item->GetCount() > 0)
        throw TFailure{a[1] + ": " + a[2] + " is a folder"};
    item->SetText(platform::Utf8ToUtf16(a[3]));
    Save(*pack, a[1]);
    return 0;
}

int CmdDelete(const std::vector<std::string>& a, char sep) {
    Need(a, 3, 3);
    auto pack = Load(a[1], sep);
    TTree* item = Find(*pack, a[1], a[2]);
    RefuseReserved(*pack, a[1], item, true);
    TTree* parent = item->GetParent();
    parent->DeleteItem(parent->IndexOfChild(item));
    Save(*pack, a[1]);
    return 0;
}

int CmdRename(const std::vector<std::string>& a, char sep) {
    Need(a, 4, 4);
    auto pack = Load(a[1], sep);
    TTree* item = Find(*pack, a[1], a[2]);
    RefuseReserved(*pack, a[1], item, true);
    if (a[3] != item->GetName())
        CheckNewName(*item->GetParent(), a[1], a[3]);
    try {
        item->SetName(a[3]);
    } catch (const EBadItemName& e) {
        throw TFailure{a[1] + ": " + e.what()};
    }
    Save(*pack, a[1]);
    return 0;
}

int CmdMove(const std::vector<std::string>& a, char sep) {
    Need(a, 4, 4);
    auto pack = Load(a[1], sep);
    TTree* item = Find(*pack, a[1], a[2]);
    RefuseReserved(*pack, a[1], item, true);
    TTree* target = a[3].empty() ? pack.get() : pack->GetItem_F(a[3]);
    if (!target)
        target = AddPath(*pack, a[1], a[3]);
    else if (IsVariableWithValue(target))
        throw TFailure{a[1] + ": " + a[3] + " is a variable, not a folder"};
    if (target->IsInSubtreeOf(item))
        throw TFailure{a[1] + ": cannot move " + a[2] + " into itself"};
    if (target == item->GetParent())
        return 0;
    if (!item->MoveTo(target))
        throw TFailure{a[1] + ": " + (a[3].empty() ? std::string("the top") : a[3]) +
                       " already holds an item named " + item->GetName()};
    Save(*pack, a[1]);
    return 0;
}

int CmdEncoding(const std::vector<std::string>& a, char sep) {
    Need(a, 2, 3);
    auto pack = Load(a[1], sep);
    if (a.size() == 2) {
        std::printf("%s\n", EncodingName(pack->GetEncoding()));
        return 0;
    }
    const TPackEncoding e = ParseEncoding(a[2]);
    if (e == pack->GetEncoding())
        return 0;
    pack->SetEncoding(e);
    Save(*pack, a[1]);
    return 0;
}

int CmdLcid(const std::vector<std::string>& a, char sep) {
    Need(a, 2, 3);
    auto pack = Load(a[1], sep);
    if (a.size() == 2) {
        std::printf("%u\n", pack->GetLCID());
        return 0;
    }
    pack->SetLCID(ParseLcid(a[2]));
    Save(*pack, a[1]);
    return 0;
}

int CmdCheck(const std::vector<std::string>& a, char sep) {
    if (a.size() < 2)
        throw TUsageError{"check needs at least one file"};
    int rc = 0;
    for (std::size_t i = 1; i < a.size(); ++i) {
        try {
            Load(a[i], sep);
            std::printf("%s: ok\n", a[i].c_str());
        } catch (const TFailure& f) {
            std::fprintf(stderr, "lxpack: %s\n", f.text.c_str());
            rc = 1;
        }
    }
    return rc;
}

int CmdStats(const std::vector<std::string>& a, char sep) {
    if (a.size() < 2)
        throw TUsageError{"stats needs at least one file"};
    int rc = 0;
    for (std::size_t i = 1; i < a.size(); ++i) {
        try {
            auto pack = Load(a[i], sep);
            long folders = 0, variables = 0, empty = 0;
            pack->ForEach([&](TTree* n) {
                if (n->GetCount() > 0) {
                    ++folders;
                } else {
                    ++variables;
                    if (static_cast<TXMLTreeItem*>(n)->GetText().empty())
                        ++empty;
                }
            });
            const unsigned lcid = pack->GetLCID();
            std::printf("%s: folders %ld, variables %ld, empty %ld, encoding %s, lcid %u (%s)\n",
                        a[i].c_str(), folders, variables, empty, EncodingName(pack->GetEncoding()),
                        lcid, lcid ? LanguageNameOfLCID(lcid).c_str() : "none");
        } catch (const TFailure& f) {
            std::fprintf(stderr, "lxpack: %s\n", f.text.c_str());
            rc = 1;
        }
    }
    return rc;
}

int CmdNew(const std::vector<std::string>& a, char sep) {
    std::string file, encoding = "UTF8", lcid;
    for (std::size_t i = 1; i < a.size(); ++i) {
        if (a[i] == "--encoding" && i + 1 < a.size())
            encoding = a[++i];
        else if (a[i] == "--lcid" && i + 1 < a.size())
            lcid = a[++i];
        else if (file.empty() && a[i].rfind("--", 0) != 0)
            file = a[i];
        else
            throw TUsageError{"unexpected argument '" + a[i] + "'"};
    }
    if (file.empty() || lcid.empty())
        throw TUsageError{"new needs FILE, --encoding E and --lcid N"};
    const TPackEncoding e = ParseEncoding(encoding);
    const unsigned id = ParseLcid(lcid);
    if (platform::FileExists(file))
        throw TFailure{file + ": already exists"};
    TXMLTreeItem pack;
    pack.SetTreeSeparator(sep);
    pack.SetEncoding(e);
    auto* item =
        static_cast<TXMLTreeItem*>(pack.AddGlobalItem(std::string("SYSTEM") + sep + "ENCODING"));
    item->SetText(platform::Utf8ToUtf16(EncodingName(e)));
    pack.SetLCID(id);
    Save(pack, file);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args;
    char sep = '_';
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string s = argv[i];
            if (args.empty() && s == "--help") {
                std::fputs(kUsage, stdout);
                return 0;
            }
            if (args.empty() && s == "--version") {
                std::printf("lxpack %s\n", kVersion);
                return 0;
            }
            if (args.empty() && s == "--sep") {
                if (i + 1 >= argc || std::string(argv[i + 1]).size() != 1)
                    throw TUsageError{"--sep needs one character"};
                sep = argv[++i][0];
                continue;
            }
            args.push_back(s);
        }
        if (args.empty())
            throw TUsageError{"no command"};
        const std::string& cmd = args[0];
        if (cmd == "dump")
            return CmdDump(args, sep);
        if (cmd == "get")
            return CmdGet(args, sep);
        if (cmd == "set")
            return CmdSet(args, sep);
        if (cmd == "delete")
            return CmdDelete(args, sep);
        if (cmd == "rename")
            return CmdRename(args, sep);
        if (cmd == "move")
            return CmdMove(args, sep);
        if (cmd == "encoding")
            return CmdEncoding(args, sep);
        if (cmd == "lcid")
            return CmdLcid(args, sep);
        if (cmd == "check")
            return CmdCheck(args, sep);
        if (cmd == "stats")
            return CmdStats(args, sep);
        if (cmd == "new")
            return CmdNew(args, sep);
        throw TUsageError{"unknown command '" + cmd + "'"};
    } catch (const TUsageError& u) {
        std::fprintf(stderr, "lxpack: %s\nTry 'lxpack --help'.\n", u.text.c_str());
        return 2;
    } catch (const TFailure& f) {
        std::fprintf(stderr, "lxpack: %s\n", f.text.c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lxpack: %s\n", e.what());
        return 1;
    }
}
