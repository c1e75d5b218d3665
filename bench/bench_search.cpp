// bench_search: the editor's search over 10 languages of 20,000 variables
// each, with a text criterion: the whole walk, and the time until the first
// result reaches the caller.
#include "PackGenerator.h"

#include "editor/frames/uSearch.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

namespace {

using namespace lx;

// Ten languages with the same variables and their own texts.
struct TPacks {
    std::vector<std::unique_ptr<TXMLTreeItem>> Packs;
    TPacks() {
        auto model = std::make_unique<TXMLTreeItem>();
        bench::TPackLimits limits;
        limits.Utf8Bytes = static_cast<std::size_t>(-1);
        limits.Items = 20000;
        bench::GeneratePack(*model, limits);
        for (int lang = 0; lang < 10; ++lang) {
            auto pack = std::make_unique<TXMLTreeItem>();
            pack->Assign(model.get());
            const std::u16string tag = u"[" + std::u16string(1, char16_t(u'A' + lang)) + u"] ";
            pack->ForEach([&](TTree* n) {
                auto* item = static_cast<TXMLTreeItem*>(n);
                if (n->GetCount() == 0)
                    item->SetText(tag + item->GetText());
            });
            Packs.push_back(std::move(pack));
        }
    }
    editor::TSearchInput Input() const {
        editor::TSearchInput in;
        for (const auto& p : Packs) {
            in.Packs.push_back(p.get());
            in.Ticked.push_back(true);
        }
        return in;
    }
};

const TPacks& Packs() {
    static const TPacks packs;
    return packs;
}

void Search(benchmark::State& state, const std::u16string& text) {
    const editor::TSearchInput input = Packs().Input();
    editor::TSearchCriteria c;
    c.InText = true;
    c.Text = text;
    const std::atomic<bool> stop{false};
    std::size_t found = 0;
    double firstMs = 0;
    for (auto _ : state) {
        found = 0;
        const auto start = std::chrono::steady_clock::now();
        editor::RunSearch(
            input, c, stop,
            [&](const std::string&, int) {
                if (found++ == 0)
                    firstMs = std::chrono::duration<double, std::milli>(
                                  std::chrono::steady_clock::now() - start)
                                  .count();
            },
            [](int) {});
    }
    state.counters["results"] = static_cast<double>(found);
    state.counters["first_result_ms"] = firstMs;
}

// A text found in no pack: every variable is compared in all ten languages.
void BM_SearchTextNowhere(benchmark::State& state) {
    Search(state, u"qqzzxx");
}
// A text of the last language only: each hit after nine misses.
void BM_SearchTextLastLanguage(benchmark::State& state) {
    Search(state, u"[J]");
}

} // namespace

BENCHMARK(BM_SearchTextNowhere)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchTextLastLanguage)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
