// lxrecord: the resource file that carries a program's language settings
// (the embedded language record) into its build.
#include "platform/Files.h"
#include "runtime/uLexivane.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

using namespace lx;

namespace {

const char* kUsage = R"(usage:
  lxrecord make OUT.lxres [--exists] [--forced] [--pack NAME] [--folder F] [--unit FILE]
  lxrecord show FILE.lxres
  lxrecord extract FILE.lxres OUT.bin

A resource file holds one 1024-byte record: whether the program has an
application component, whether its pack is forced on every form, the current
pack, the pack folder and the source file of the form that holds it. Programs
built with lx_add_language_record() read it at run time.

exit status: 0 success, 1 failure, 2 usage error
)";

// The fixed 76 bytes before the record: an empty first resource entry, then
// the entry of type 10 (raw data) named "LX_APP" holding 1024 bytes.
std::string Header() {
    std::string h(76, '\0');
    auto put32 = [&h](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            h[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(4, 32);
    put32(8, 0x0000FFFF);
    put32(12, 0x0000FFFF);
    put32(32, 1024);
    put32(36, 44);
    put32(40, 0x000AFFFF);
    const char16_t name[] = u"LX_APP";
    for (std::size_t i = 0; i < 7; ++i) {
        h[44 + 2 * i] = static_cast<char>(name[i] & 0xFF);
        h[45 + 2 * i] = static_cast<char>(name[i] >> 8);
    }
    return h;
}

int Usage(const std::string& why) {
    std::fprintf(stderr, "lxrecord: %s\nTry 'lxrecord --help'.\n", why.c_str());
    return 2;
}

bool ReadRecord(const std::string& file, TXMLAppDataBlock& block, std::string& error) {
    std::string data;
    try {
        data = platform::ReadWholeFile(file);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    if (data.size() != 76 + kXMLAppDataSize || data.compare(0, 76, Header()) != 0) {
        error = file + ": not a language record resource file (1100 bytes expected)";
        return false;
    }
    std::memcpy(block.data(), data.data() + 76, kXMLAppDataSize);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage("no command");
    const std::string cmd = argv[1];
    if (cmd == "--help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    try {
        if (cmd == "make") {
            if (argc < 3)
                return Usage("make needs OUT.lxres");
            TXMLAppData d;
            for (int i = 3; i < argc; ++i) {
                const std::string a = argv[i];
                auto value = [&](std::string& out) {
                    if (i + 1 >= argc)
                        return false;
                    out = argv[++i];
                    return true;
                };
                bool ok = true;
                if (a == "--exists")
                    d.XMLAppExists = true;
                else if (a == "--forced")
                    d.ForcedUseXMLApp = true;
                else if (a == "--pack")
                    ok = value(d.CurrentPack);
                else if (a == "--folder")
                    ok = value(d.PackFolder);
                else if (a == "--unit")
                    ok = value(d.UnitFileName);
                else
                    ok = false;
                if (!ok)
                    return Usage("bad argument '" + a + "'");
            }
            const TXMLAppDataBlock block = EncodeXMLAppData(d);
            std::string out = Header();
            out.append(reinterpret_cast<const char*>(block.data()), block.size());
            platform::WriteFileAtomic(argv[2], out);
            return 0;
        }
        if (cmd == "show" || cmd == "extract") {
            if (argc != (cmd == "show" ? 3 : 4))
                return Usage("wrong number of arguments for '" + cmd + "'");
            TXMLAppDataBlock block{};
            std::string error;
            if (!ReadRecord(argv[2], block, error)) {
                std::fprintf(stderr, "lxrecord: %s\n", error.c_str());
                return 1;
            }
            if (cmd == "extract") {
                platform::WriteFileAtomic(
                    argv[3],
                    std::string_view(reinterpret_cast<const char*>(block.data()), block.size()));
                return 0;
            }
            const TXMLAppData d = DecodeXMLAppData(block);
            std::printf("exists %d\nforced %d\npack %s\nfolder %s\nunit %s\n", d.XMLAppExists,
                        d.ForcedUseXMLApp, d.CurrentPack.c_str(), d.PackFolder.c_str(),
                        d.UnitFileName.c_str());
            return 0;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lxrecord: %s\n", e.what());
        return 1;
    }
    return Usage("unknown command '" + cmd + "'");
}
