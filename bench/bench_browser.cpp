// bench_browser: the editor's work area on a large working folder: 10
// languages of 20,000 variables each. Opening and refreshing the browser,
// selecting a variable, painting a page of rows with their review marks,
// clearing a mark on a keystroke, and synchronising from a model language.
// Runs the real widgets on the offscreen platform.
#include "PackGenerator.h"

#include "editor/frames/uBrowser.h"
#include "editor/uPackCache.h"
#include "editor/uReviewFlags.h"
#include "editor/uSynchronize.h"
#include "engine/uIni.h"

#include <QApplication>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace lx;
using namespace lx::editor;

namespace {

constexpr int kPacks = 10;
constexpr std::size_t kVariables = 20000;

// The packs in memory, all ticked; the browser needs nothing else of a set.
class TBenchPacks : public ILangPack {
public:
    TBenchPacks() {
        for (int i = 0; i < kPacks; ++i) {
            auto p = std::make_unique<TXMLTreeItem>("L" + std::to_string(i) + ".lng");
            bench::TPackLimits limits;
            limits.Utf8Bytes = static_cast<std::size_t>(-1);
            limits.Items = kVariables;
            bench::GeneratePack(*p, limits, 7); // one structure, as a real set has
            FPacks.push_back(std::move(p));
        }
    }
    TXMLTreeItem* GetPack(int i) override { return FPacks[static_cast<std::size_t>(i)].get(); }
    int GetPackCount() const override { return kPacks; }
    bool IsPackChecked(int) const override { return true; }
    void SetPackChecked(int, bool) override {}
    TPacksChanged GetOnPacksChanged() const override { return {}; }
    void SetOnPacksChanged(TPacksChanged) override {}
    std::vector<std::string> GetPackNames(bool) const override {
        std::vector<std::string> n;
        for (int i = 0; i < kPacks; ++i)
            n.push_back("L" + std::to_string(i));
        return n;
    }
    std::vector<std::string> GetPackList(std::vector<std::string>&, bool) const override {
        return {};
    }
    TXMLTreeItem* AddPack(const std::string&) override { return nullptr; }
    void DeletePack(int) override {}
    void ReloadPacks() override {}
    bool DownloadPacks() override { return true; }
    bool UploadPacks() override { return true; }
    TPackFont GetPackFont(int) override { return {}; }
    void SavePackFont(const TPackFont&) override {}
    bool AnyPackModified() const override { return false; }
    void SetPacksModified(bool) override {}

private:
    std::vector<std::unique_ptr<TXMLTreeItem>> FPacks;
};

TBenchPacks& Packs() {
    static TBenchPacks packs;
    return packs;
}

std::vector<std::string> LeafPaths(const TTree& tree) {
    std::vector<std::string> paths;
    tree.ForEach([&](TTree* n) {
        if (n->GetCount() == 0)
            paths.push_back(n->GetFullName());
    });
    return paths;
}

// package.ini with a flag for every 4th variable in every pack.
void WriteFlags(const std::vector<std::string>& paths) {
    std::string ini;
    for (int i = 0; i < kPacks; ++i) {
        ini += "[lpack_L" + std::to_string(i) + "]\r\n";
        for (std::size_t v = 0; v < paths.size(); v += 4)
            ini += "needtochange_" + paths[v] + "=" + (v % 8 ? "false" : "true") + "\r\n";
    }
    std::filesystem::create_directories(CacheDir());
    std::FILE* f = std::fopen(ReviewFlagsFileName().c_str(), "wb");
    std::fwrite(ini.data(), 1, ini.size(), f);
    std::fclose(f);
}

void BM_OpenAndRefresh(benchmark::State& state) {
    TfrBrowser browser;
    for (auto _ : state) {
        browser.SetLangPack(nullptr);
        browser.SetLangPack(&Packs());
        benchmark::DoNotOptimize(browser.GetVarCount());
    }
    state.counters["items"] = browser.GetVarCount();
}
BENCHMARK(BM_OpenAndRefresh)->Unit(benchmark::kMillisecond);

void BM_SelectVar(benchmark::State& state) {
    TfrBrowser browser;
    browser.SetLangPack(&Packs());
    const auto paths = LeafPaths(*browser.GetTree());
    std::size_t i = 0;
    for (auto _ : state) {
        browser.SelectVar(paths[i]);
        i = (i + 997) % paths.size();
    }
}
BENCHMARK(BM_SelectVar)->Unit(benchmark::kMicrosecond);

// One page of the view: 40 rows, each asking all ticked packs for its mark.
void BM_PaintPageOfMarks(benchmark::State& state) {
    TfrBrowser browser;
    browser.SetLangPack(&Packs());
    const auto paths = LeafPaths(*browser.GetTree());
    WriteFlags(paths);
    std::size_t i = 0;
    for (auto _ : state) {
        int red = 0;
        for (int row = 0; row < 40; ++row)
            red += browser.GetNeedToChange(paths[(i + row) % paths.size()], "");
        benchmark::DoNotOptimize(red);
        i = (i + 40) % paths.size();
    }
}
BENCHMARK(BM_PaintPageOfMarks)->Unit(benchmark::kMicrosecond);

// The same page drawn by the view itself (a real paint of the widget).
void BM_PaintView(benchmark::State& state) {
    TfrBrowser browser;
    browser.resize(300, 800);
    browser.SetLangPack(&Packs());
    WriteFlags(LeafPaths(*browser.GetTree()));
    auto* view = browser.findChild<QTreeWidget*>("TreeView");
    view->expandAll();
    for (auto _ : state)
        benchmark::DoNotOptimize(view->viewport()->grab());
}
BENCHMARK(BM_PaintView)->Unit(benchmark::kMillisecond);

// A keystroke clears the language's mark: a no-op unless it was set.
void BM_KeystrokeClearsMark(benchmark::State& state) {
    TfrBrowser browser;
    browser.SetLangPack(&Packs());
    const auto paths = LeafPaths(*browser.GetTree());
    WriteFlags(paths);
    for (auto _ : state)
        browser.ClearNeedToChange("L3", paths[1]); // never set: nothing written
}
BENCHMARK(BM_KeystrokeClearsMark)->Unit(benchmark::kMicrosecond);

// The first keystroke after a review: one key written to a large package.ini.
void BM_ClearSetMark(benchmark::State& state) {
    TfrBrowser browser;
    browser.SetLangPack(&Packs());
    const auto paths = LeafPaths(*browser.GetTree());
    WriteFlags(paths);
    for (auto _ : state) {
        browser.SetNeedToChange("L3", paths[5]);
        browser.ClearNeedToChange("L3", paths[5]);
    }
}
BENCHMARK(BM_ClearSetMark)->Unit(benchmark::kMillisecond);

// Nine recipients that each lack every tenth variable of the model.
void BM_Synchronize(benchmark::State& state) {
    const auto paths = LeafPaths(*Packs().GetPack(0));
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<std::unique_ptr<TXMLTreeItem>> copies;
        std::vector<TXMLTreeItem*> recipients;
        for (int i = 1; i < kPacks; ++i) {
            auto c = std::make_unique<TXMLTreeItem>();
            c->Assign(Packs().GetPack(i));
            for (std::size_t v = 0; v < paths.size(); v += 10)
                if (TTree* n = c->GetItem_F(paths[v])) {
                    n->Delete();
                    delete n;
                }
            recipients.push_back(c.get());
            copies.push_back(std::move(c));
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(SynchronizeFromModel(*Packs().GetPack(0), recipients));
    }
}
BENCHMARK(BM_Synchronize)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const std::string dir = std::filesystem::temp_directory_path() / "lx-bench-browser";
    std::filesystem::create_directories(dir);
    setenv("LX_APP_DIR", dir.c_str(), 1);
    QApplication app(argc, argv);
    Packs();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(dir);
    return 0;
}
