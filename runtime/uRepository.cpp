#include "uRepository.h"

#include "platform/IniFile.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace lx {

using platform::SameTextAscii;

std::string TFormRepository::GetPseudonym(const std::string& componentName) const {
    for (const auto& p : FPseudonymes)
        if (SameTextAscii(p.ComponentName, componentName))
            return p.Pseudonym;
    return {};
}

std::string TFormRepository::GetComponentName(const std::string& pseudonym) const {
    for (const auto& p : FPseudonymes)
        if (SameTextAscii(p.Pseudonym, pseudonym))
            return p.ComponentName;
    return {};
}

void TFormRepository::Update(const std::string& componentName, const std::string& pseudonym) {
    if (pseudonym.empty()) {
        Delete(componentName);
        return;
    }
    for (auto& p : FPseudonymes)
        if (SameTextAscii(p.ComponentName, componentName)) {
            p.Pseudonym = pseudonym;
            return;
        }
    FPseudonymes.push_back({componentName, pseudonym});
}

void TFormRepository::Delete(const std::string& componentName) {
    std::erase_if(FPseudonymes, [&](const TPseudonym& p) {
        return SameTextAscii(p.ComponentName, componentName);
    });
}

void TFormRepository::ChangeName(const std::string& oldName, const std::string& newName) {
    const auto renamed =
        std::find_if(FPseudonymes.begin(), FPseudonymes.end(),
                     [&](const TPseudonym& p) { return SameTextAscii(p.ComponentName, oldName); });
    if (renamed == FPseudonymes.end())
        return;
    renamed->ComponentName = newName;
    // A pair left under the new name belongs to no component any more: the
    // renamed component's pair replaces it.
    const auto keep = static_cast<std::size_t>(renamed - FPseudonymes.begin());
    for (std::size_t i = FPseudonymes.size(); i-- > 0;)
        if (i != keep && SameTextAscii(FPseudonymes[i].ComponentName, newName))
            FPseudonymes.erase(FPseudonymes.begin() + static_cast<std::ptrdiff_t>(i));
}

std::string TFormRepository::MakeRealPath(const std::string& path, char separator) const {
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = path.find(separator, start);
        const std::string element =
            path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const std::string real = GetComponentName(element);
        out += real.empty() ? element : real;
        if (end == std::string::npos)
            return out;
        out += separator;
        start = end + 1;
    }
}

namespace {

void PutInt(QByteArray& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::int32_t GetInt(const QByteArray& b, qsizetype& pos) {
    if (pos + 4 > b.size())
        throw std::runtime_error("Pseudonymes: the stored list is cut short");
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[pos + i])) << (8 * i);
    pos += 4;
    return static_cast<std::int32_t>(v);
}

std::string GetText(const QByteArray& b, qsizetype& pos) {
    const std::int32_t len = GetInt(b, pos);
    if (len <= 0)
        return {};
    if (pos + len > b.size())
        throw std::runtime_error("Pseudonymes: the stored list is cut short");
    std::string s(b.constData() + pos, static_cast<std::size_t>(len));
    pos += len;
    return s;
}

} // namespace

QByteArray TFormRepository::Write() const {
    QByteArray b;
    PutInt(b, static_cast<std::uint32_t>(FPseudonymes.size()));
    for (const auto& p : FPseudonymes) {
        PutInt(b, static_cast<std::uint32_t>(p.ComponentName.size()));
        b.append(p.ComponentName.data(), static_cast<qsizetype>(p.ComponentName.size()));
        PutInt(b, static_cast<std::uint32_t>(p.Pseudonym.size()));
        b.append(p.Pseudonym.data(), static_cast<qsizetype>(p.Pseudonym.size()));
    }
    return b;
}

void TFormRepository::Read(const QByteArray& bytes) {
    TPseudonymArr list;
    if (!bytes.isEmpty()) {
        qsizetype pos = 0;
        const std::int32_t n = GetInt(bytes, pos);
        for (std::int32_t i = 0; i < n; ++i) {
            TPseudonym p;
            p.ComponentName = GetText(bytes, pos);
            p.Pseudonym = GetText(bytes, pos);
            list.push_back(std::move(p));
        }
    }
    FPseudonymes = std::move(list);
}

} // namespace lx
