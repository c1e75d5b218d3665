#include "uCNWizardThread.h"

#include "platform/Files.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace lx::editor {

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

void Walk(const std::filesystem::path& folder, const std::vector<std::string>& masks,
          std::vector<std::string>& files) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::set<std::string> taken;
    for (const std::string& mask : masks) {
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (it->symlink_status(ec).type() == fs::file_type::directory ||
                !it->is_regular_file(ec) || !platform::MatchesFileMask(name, mask))
                continue;
            if (taken.insert(name).second)
                files.push_back(it->path().string());
        }
        ec.clear();
    }
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name == "." || name == ".." || name == "...")
            continue;
        if (it->symlink_status(ec).type() == fs::file_type::directory)
            Walk(it->path(), masks, files);
    }
}

} // namespace

std::vector<std::string> ParseMasks(std::string& field) {
    if (!field.empty() && field.back() != ';')
        field += ';';
    std::vector<std::string> masks;
    std::size_t start = 0;
    for (std::size_t semi; (semi = field.find(';', start)) != std::string::npos; start = semi + 1) {
        std::string piece = field.substr(start, semi - start);
        if (piece.empty())
            continue;
        if (piece.find('*') == std::string::npos) {
            if (piece.find('.') == std::string::npos)
                piece.insert(0, ".");
            piece.insert(0, "*");
        }
        masks.push_back(piece);
    }
    if (masks.empty())
        masks.push_back("*");
    return masks;
}

std::string TemplateName(const std::string& name, bool keepPrefix) {
    if (!keepPrefix && name.size() > 5 && name.compare(0, 5, "LANG_") == 0)
        return name.substr(5);
    return name;
}

std::string ApplyPairs(const std::string& text, const TVarNames& pairs, bool keepPrefix) {
    std::vector<std::pair<std::string, std::string>> names;
    for (const auto& p : pairs) {
        std::string from = TemplateName(p.FromName, keepPrefix);
        if (!from.empty())
            names.emplace_back(std::move(from), TemplateName(p.ToName, keepPrefix));
    }
    if (names.empty())
        return text;
    // The pairs by the first byte of their old name, each list in pair order,
    // so that a position is tried only against the names that can start there.
    std::array<std::vector<std::size_t>, 256> byFirst;
    for (std::size_t n = 0; n < names.size(); ++n)
        byFirst[static_cast<unsigned char>(names[n].first[0])].push_back(n);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::pair<std::string, std::string>* hit = nullptr;
        for (std::size_t n : byFirst[static_cast<unsigned char>(text[i])])
            if (text.compare(i, names[n].first.size(), names[n].first) == 0) {
                hit = &names[n];
                break;
            }
        if (hit) {
            out += hit->second;
            i += hit->first.size();
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::vector<std::string> ListTemplateFiles(const std::string& folder,
                                           const std::vector<std::string>& masks) {
    std::vector<std::string> files;
    if (folder.empty())
        return files;
    std::string root = folder;
    if (!IsSeparator(root.back()))
        root += '/';
    Walk(root, masks, files);
    return files;
}

bool RewriteTemplateFile(const std::string& path, const TVarNames& pairs, bool keepPrefix) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 &&
        ((st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0))
        throw platform::EFileError("Cannot write " + path + ": the file is read-only");
    const std::string text = platform::ReadWholeFile(path);
    const std::string changed = ApplyPairs(text, pairs, keepPrefix);
    if (changed == text)
        return false;
    platform::WriteFileAtomic(path, changed);
    return true;
}

TCNWizardThread::TCNWizardThread(TVarNames pairs, std::string folder,
                                 std::vector<std::string> masks, bool keepPrefix)
    : Pairs(std::move(pairs)), ScanFolder(std::move(folder)), Masks(std::move(masks)),
      KeepPrefix(keepPrefix) {}

void TCNWizardThread::run() {
    const std::vector<std::string> files = ListTemplateFiles(ScanFolder, Masks);
    Total = static_cast<int>(files.size());
    Done = 0;
    for (const std::string& file : files) {
        try {
            RewriteTemplateFile(file, Pairs, KeepPrefix);
        } catch (const std::exception&) {
            // The files before this one keep their changes; the rest are not visited.
            emit ScanEnded(QString::fromStdString(file));
            return;
        }
        ++Done;
        emit Progress(Done, Total);
    }
    emit ScanEnded(QString());
}

} // namespace lx::editor
