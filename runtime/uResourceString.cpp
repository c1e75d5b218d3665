#include "uResourceString.h"

#include "platform/CodePage.h"

namespace lx {

std::string TResourceString::Unit() const {
    std::string f = FFile;
    const auto slash = f.find_last_of("/\\");
    return slash == std::string::npos ? f : f.substr(slash + 1);
}

std::uint32_t TResourceString::ResID() const {
    std::uint32_t id = FResID.load(std::memory_order_relaxed);
    if (id == 0) {
        id = ProgramResID(Unit(), FName);
        FResID.store(id, std::memory_order_relaxed);
    }
    return id;
}

std::u16string TResourceString::Text() const {
    if (const std::uint32_t id = ResID()) {
        std::u16string t = LoadResString(id);
        if (!t.empty())
            return t;
    }
    return platform::Utf8ToUtf16(FDefault);
}

} // namespace lx
