#pragma once
// A temporary folder per test, with the program folder and the registry
// pointed into it, so that no test touches the user's home.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace lx::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return FPath; }
    std::string File(const std::string& name) const { return FPath + "/" + name; }
    std::string Write(const std::string& name, std::string_view bytes) const;
    static std::string Read(const std::string& path);

private:
    std::string FPath;
};

/// A full disk while it lives: files cannot grow beyond `limit` bytes (a file
/// size limit binds root too, unlike permissions), and writing past it fails
/// with an error instead of a signal.
class TFullDisk {
public:
    explicit TFullDisk(std::size_t limit);
    ~TFullDisk();
    TFullDisk(const TFullDisk&) = delete;
    TFullDisk& operator=(const TFullDisk&) = delete;

private:
    unsigned long long FOldCur;
    void (*FOldHandler)(int);
};

/// A fixture that gives each test its own folder and sets LX_APP_DIR and
/// LX_REGISTRY there.
class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    TempDir Dir;

private:
    std::string FOldAppDir, FOldRegistry;
    bool FHadAppDir = false, FHadRegistry = false;
};

} // namespace lx::test
