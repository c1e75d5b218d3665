#pragma once
// Resource strings for C++ programs: texts built in code (messages, formatted
// captions) that translate with the language packs.
//
//   LX_RESOURCESTRING(sSaveQ, "Save changes to %1?");
//   ...
//   QMessageBox::question(this, title, sSaveQ().arg(file));
//
// A declaration names the constant and its default text, at namespace scope of
// any source file of the program. lx_add_resource_strings() in the program's
// CMakeLists scans the sources, gives every string its string-table identifier,
// compiles the table into the program and writes <program>.drc beside it. A
// lookup returns the text of the translation the resource-string component has
// active, else the default; texts fetched before keep what they got.

#include "uResUtils.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <string>

namespace lx {

class TResourceString {
public:
    constexpr TResourceString(const char* file, const char* name, const char* text)
        : FFile(file), FName(name), FDefault(text) {}

    /// The current text.
    std::u16string Text() const;
    QString operator()() const { return QString::fromStdU16String(Text()); }
    QString ToQString() const { return (*this)(); }

    /// The string-table identifier (0 when the build did not register it).
    std::uint32_t ResID() const;
    const char* Name() const { return FName; }
    /// The declaring file without its folder.
    std::string Unit() const;
    /// The default text, UTF-8.
    const char* Default() const { return FDefault; }

private:
    const char* FFile;
    const char* FName;
    const char* FDefault;
    mutable std::atomic<std::uint32_t> FResID{0};
};

} // namespace lx

/// Declares the resource string `name` with its default text (a UTF-8 literal).
#define LX_RESOURCESTRING(name, text)                                                              \
    inline const ::lx::TResourceString name {                                                      \
        __FILE__, #name, text                                                                      \
    }
