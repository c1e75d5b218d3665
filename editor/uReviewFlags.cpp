#include "uReviewFlags.h"

#include "platform/Text.h"

#include "engine/uIni.h"
#include "platform/IniFile.h"
#include "uPackCache.h"

#include <sys/stat.h>

namespace lx::editor {

namespace {

// Section and key names compare ignoring the case of a-z only.
std::string AsciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

} // namespace

std::string ReviewFlagsFileName() {
    return CacheDir() + "package.ini";
}

TReviewFlags::TStamp TReviewFlags::StampOf(const std::string& fileName) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0)
        return {};
    return {static_cast<long long>(st.st_mtim.tv_sec), static_cast<long long>(st.st_mtim.tv_nsec),
            static_cast<long long>(st.st_size), static_cast<long long>(st.st_ino)};
}

void TReviewFlags::Sync(const std::string& fileName) {
    const TStamp now = StampOf(fileName);
    if (FLoaded && fileName == FFileName && now == FStamp)
        return;
    FValues.clear();
    for (auto& section : platform::TIniFile(fileName).ReadAll()) {
        // A repeated section is never read: the first one of a name counts.
        auto [it, fresh] = FValues.try_emplace(AsciiLower(section.Name));
        if (!fresh)
            continue;
        for (auto& [key, value] : section.Keys)
            it->second.try_emplace(AsciiLower(key), std::move(value));
    }
    FFileName = fileName;
    FStamp = now;
    FLoaded = true;
}

const std::string* TReviewFlags::Find(const std::string& pack, const std::string& path) const {
    const auto s = FValues.find(AsciiLower(Section(pack)));
    if (s == FValues.end())
        return nullptr;
    const auto k = s->second.find(AsciiLower(Key(path)));
    return k == s->second.end() ? nullptr : &k->second;
}

bool TReviewFlags::Get(const std::string& fileName, const std::string& pack,
                       const std::string& path) {
    Sync(fileName);
    const std::string* v = Find(pack, path);
    return v && *v == "true";
}

std::unordered_set<std::string> TReviewFlags::FlaggedPaths(const std::string& fileName,
                                                           const std::vector<std::string>& packs) {
    Sync(fileName);
    std::unordered_set<std::string> flagged;
    const std::string prefix = AsciiLower(Key(""));
    for (const std::string& pack : packs) {
        const auto s = FValues.find(AsciiLower(Section(pack)));
        if (s == FValues.end())
            continue;
        for (const auto& [key, value] : s->second)
            if (value == "true" && key.compare(0, prefix.size(), prefix) == 0)
                flagged.insert(platform::UpperCaseAscii(key.substr(prefix.size())));
    }
    return flagged;
}

bool TReviewFlags::Set(const std::string& fileName, const std::string& pack,
                       const std::string& path, bool flag) {
    Sync(fileName);
    const std::string* v = Find(pack, path);
    if (!flag && !(v && *v == "true"))
        return true;
    if (flag && v && *v == "true")
        return true;
    if (!WriteStr(Section(pack), Key(path), flag ? "true" : "false", fileName))
        return false;
    // The write changed this one key of the file held (first section of the
    // name, first key), so the copy in memory follows without a new read.
    FValues[AsciiLower(Section(pack))][AsciiLower(Key(path))] = flag ? "true" : "false";
    FStamp = StampOf(fileName);
    return true;
}

} // namespace lx::editor
