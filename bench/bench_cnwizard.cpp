// bench_cnwizard: the template rename wizard's pass over template text and
// over a folder of template files.
#include "editor/uCNWizardThread.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace lx::editor;

namespace {

// A folder move of `count` variables: the folder's pair, then one pair per variable.
TVarNames FolderMove(int count) {
    TVarNames pairs = {{"LANG_MAIN", "LANG_SITE_MAIN"}};
    for (int i = 0; i < count; ++i)
        pairs.push_back(
            {"LANG_MAIN_ITEM" + std::to_string(i), "LANG_SITE_MAIN_ITEM" + std::to_string(i)});
    return pairs;
}

// HTML with a reference to a variable about every 60 bytes.
std::string Template(std::size_t bytes, int names) {
    std::string t;
    for (int i = 0; t.size() < bytes; ++i)
        t += "<p class=\"text\">{MAIN_ITEM" + std::to_string(i % names) +
             "}</p>\n<div>plain words</div>\n";
    return t;
}

void BM_ApplyPairs(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const TVarNames pairs = FolderMove(count);
    const std::string text = Template(1 << 20, count);
    for (auto _ : state)
        benchmark::DoNotOptimize(ApplyPairs(text, pairs, false));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ApplyPairs)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// 200 template files of 20 KB in two folders, each rewritten (atomically) on
// every pass: the pairs alternate so that every pass changes every file.
void BM_RewriteFolder(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path root =
        fs::temp_directory_path() / ("bench_cnwizard_" + std::to_string(getpid()));
    for (int i = 0; i < 200; ++i) {
        fs::create_directories(root / (i % 2 ? "a" : "b"));
        std::ofstream(root / (i % 2 ? "a" : "b") / ("page" + std::to_string(i) + ".html"))
            << Template(20 << 10, 100);
    }
    const TVarNames forth = {{"LANG_MAIN", "LANG_SITE"}};
    const TVarNames back = {{"LANG_SITE", "LANG_MAIN"}};
    bool odd = false;
    for (auto _ : state) {
        for (const auto& f : ListTemplateFiles(root.string(), {"*.html"}))
            RewriteTemplateFile(f, odd ? back : forth, false);
        odd = !odd;
    }
    state.SetItemsProcessed(state.iterations() * 200);
    fs::remove_all(root);
}
BENCHMARK(BM_RewriteFolder)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
