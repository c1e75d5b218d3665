// Speed and memory of the pack engine: reading, writing and walking packs, with
// pugixml on the same bytes as the reference.
//
// Every pack is generated (PackGenerator) with a fixed seed, so runs compare.
// After the benchmarks a summary prints the ratios between cases of this run.
#include "PackGenerator.h"

#include "engine/uEngine.h"
#include "platform/CodePage.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <pugixml.hpp>

#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace lx;
using lx::bench::GeneratePack;
using lx::bench::PackBytes;
using lx::bench::TPackLimits;

namespace {

constexpr std::array<TPackEncoding, 3> kEncodings = {TPackEncoding::ANSI, TPackEncoding::UTF8,
                                                     TPackEncoding::HTML};

struct TSize {
    const char* Name;
    std::size_t Utf8Bytes;
};
constexpr std::array<TSize, 2> kSizes = {
    {{"1MB", std::size_t{1} << 20}, {"20MB", std::size_t{20} << 20}}};

// One generated pack in every encoding.
struct TCorpus {
    std::size_t Items = 0;            // generated items, SYSTEM items excluded
    std::array<std::string, 3> Bytes; // indexed by TPackEncoding
    std::string Wrapped;              // the UTF8 bytes inside <r>...</r>, for pugixml

    const std::string& Of(TPackEncoding e) const { return Bytes[static_cast<std::size_t>(e)]; }
};

// Packs are built on first use, so that a filtered run only builds what it needs.
const TCorpus& Corpus(std::size_t utf8Bytes) {
    static std::map<std::size_t, std::unique_ptr<TCorpus>> cache;
    auto& slot = cache[utf8Bytes];
    if (!slot) {
        slot = std::make_unique<TCorpus>();
        TXMLTreeItem tree;
        TPackLimits limits;
        limits.Utf8Bytes = utf8Bytes;
        slot->Items = GeneratePack(tree, limits);
        for (TPackEncoding e : kEncodings)
            slot->Bytes[static_cast<std::size_t>(e)] = PackBytes(tree, e);
        slot->Wrapped = "<r>" + slot->Of(TPackEncoding::UTF8) + "</r>";
    }
    return *slot;
}

// A pack of `items` items, read from its UTF8 file as a program would.
const TXMLTreeItem& WalkTree(std::size_t items) {
    static std::map<std::size_t, std::unique_ptr<TXMLTreeItem>> cache;
    auto& slot = cache[items];
    if (!slot) {
        TXMLTreeItem generated;
        TPackLimits limits;
        limits.Utf8Bytes = static_cast<std::size_t>(-1);
        limits.Items = items;
        GeneratePack(generated, limits);
        slot = std::make_unique<TXMLTreeItem>();
        slot->OpenFromBytes(PackBytes(generated, TPackEncoding::UTF8), "");
    }
    return *slot;
}

// The SYSTEM folder with ENCODING and LCID, which the generator adds on top.
constexpr std::size_t kSystemItems = 3;

std::int64_t Int(std::size_t n) {
    return static_cast<std::int64_t>(n);
}

std::size_t HeapInUse() {
    const struct mallinfo2 mi = mallinfo2();
    return mi.uordblks + mi.hblkhd;
}

void SetFileCounters(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(state.iterations() * Int(bytes));
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_Read(benchmark::State& state, TPackEncoding e, std::size_t size) {
    const TCorpus& corpus = Corpus(size);
    const std::string& bytes = corpus.Of(e);
    {
        TXMLTreeItem check;
        check.OpenFromBytes(bytes, "");
        if (static_cast<std::size_t>(check.GetItemsCount(true)) != corpus.Items + kSystemItems ||
            check.GetEncoding() != e) {
            state.SkipWithError("the pack did not read back as generated");
            return;
        }
    }
    for (auto _ : state) {
        TXMLTreeItem t;
        t.OpenFromBytes(bytes, "");
        benchmark::DoNotOptimize(t.GetCount());
    }
    SetFileCounters(state, bytes.size());
}

void BM_Write(benchmark::State& state, TPackEncoding e, std::size_t size) {
    const std::string& bytes = Corpus(size).Of(e);
    TXMLTreeItem t;
    t.OpenFromBytes(bytes, "");
    if (t.SaveToBytes() != bytes) {
        state.SkipWithError("writing the pack read back gave other bytes");
        return;
    }
    for (auto _ : state) {
        std::string out = t.SaveToBytes();
        benchmark::DoNotOptimize(out.data());
    }
    SetFileCounters(state, bytes.size());
}

void BM_PugiParse(benchmark::State& state, std::size_t size) {
    const std::string& wrapped = Corpus(size).Wrapped;
    for (auto _ : state) {
        pugi::xml_document doc;
        const pugi::xml_parse_result r = doc.load_buffer(wrapped.data(), wrapped.size());
        if (!r) {
            state.SkipWithError(r.description());
            return;
        }
        benchmark::DoNotOptimize(doc.first_child().internal_object());
    }
    SetFileCounters(state, wrapped.size());
}

// The engine's tree built from pugixml's DOM through the public API: an
// element with element children becomes a folder, any other a variable whose
// text is its character data. pugixml has already replaced &lt; and &gt;.
void BuildFromDom(pugi::xml_node element, TXMLTreeItem& tree) {
    std::vector<std::pair<pugi::xml_node, TTree*>> stack{{element, &tree}};
    std::string name;
    while (!stack.empty()) {
        const auto [src, dst] = stack.back();
        stack.pop_back();
        for (pugi::xml_node c = src.first_child(); c; c = c.next_sibling()) {
            if (c.type() != pugi::node_element)
                continue;
            name = c.name();
            auto* item = static_cast<TXMLTreeItem*>(dst->AddItem(name));
            if (c.find_child([](pugi::xml_node n) { return n.type() == pugi::node_element; }))
                stack.emplace_back(c, item);
            else
                item->SetText(platform::Utf8ToUtf16(c.child_value()));
        }
    }
}

void BM_PugiTree(benchmark::State& state, std::size_t size) {
    const TCorpus& corpus = Corpus(size);
    const std::string& wrapped = corpus.Wrapped;
    {
        pugi::xml_document doc;
        doc.load_buffer(wrapped.data(), wrapped.size());
        TXMLTreeItem check;
        BuildFromDom(doc.document_element(), check);
        TXMLTreeItem engine;
        engine.OpenFromBytes(corpus.Of(TPackEncoding::UTF8), "");
        check.SetEncoding(TPackEncoding::UTF8);
        if (check.SaveToBytes() != engine.SaveToBytes()) {
            state.SkipWithError("the tree built from pugixml differs from the engine's");
            return;
        }
    }
    for (auto _ : state) {
        pugi::xml_document doc;
        doc.load_buffer(wrapped.data(), wrapped.size());
        TXMLTreeItem t;
        BuildFromDom(doc.document_element(), t);
        benchmark::DoNotOptimize(t.GetCount());
    }
    SetFileCounters(state, wrapped.size());
}

struct TStringWriter : pugi::xml_writer {
    std::string Out;
    void write(const void* data, std::size_t size) override {
        Out.append(static_cast<const char*>(data), size);
    }
};

void BM_PugiSave(benchmark::State& state, std::size_t size) {
    const std::string& wrapped = Corpus(size).Wrapped;
    pugi::xml_document doc;
    doc.load_buffer(wrapped.data(), wrapped.size());
    for (auto _ : state) {
        TStringWriter w;
        w.Out.reserve(wrapped.size() + wrapped.size() / 8);
        doc.save(w, "  ", pugi::format_indent | pugi::format_no_declaration);
        benchmark::DoNotOptimize(w.Out.data());
    }
    SetFileCounters(state, wrapped.size());
}

void BM_ForEach(benchmark::State& state) {
    const TXMLTreeItem& tree = WalkTree(static_cast<std::size_t>(state.range(0)));
    std::size_t visited = 0;
    for (auto _ : state) {
        visited = 0;
        std::size_t chars = 0;
        tree.ForEach([&](TTree* n) {
            ++visited;
            chars += static_cast<TXMLTreeItem*>(n)->GetText().size();
        });
        benchmark::DoNotOptimize(chars);
    }
    state.SetItemsProcessed(state.iterations() * Int(visited));
    state.SetComplexityN(Int(visited));
}

void BM_GlobalIndex(benchmark::State& state) {
    const TXMLTreeItem& tree = WalkTree(static_cast<std::size_t>(state.range(0)));
    const int count = tree.GetItemsCount(true);
    {
        int i = 0;
        bool same = true;
        tree.ForEach([&](TTree* n) { same = same && tree.GetItemByGlobalIndex(i++) == n; });
        if (!same || tree.GetItemByGlobalIndex(count) != nullptr) {
            state.SkipWithError("GetItemByGlobalIndex disagrees with ForEach");
            return;
        }
    }
    for (auto _ : state) {
        std::size_t chars = 0;
        for (int i = 0; i < count; ++i)
            chars += static_cast<TXMLTreeItem*>(tree.GetItemByGlobalIndex(i))->GetText().size();
        benchmark::DoNotOptimize(chars);
    }
    state.SetItemsProcessed(state.iterations() * count);
    state.SetComplexityN(count);
}

// Destroying a tree read from the pack (the reading itself is not timed): the
// share of BM_Read that goes to freeing the tree again.
void BM_Destroy(benchmark::State& state, TPackEncoding e, std::size_t size) {
    const std::string& bytes = Corpus(size).Of(e);
    for (auto _ : state) {
        state.PauseTiming();
        auto t = std::make_unique<TXMLTreeItem>();
        t->OpenFromBytes(bytes, "");
        state.ResumeTiming();
        t.reset();
    }
    SetFileCounters(state, bytes.size());
}

// Heap in use for a freshly read pack, per byte of its file.
void BM_Memory(benchmark::State& state, TPackEncoding e, std::size_t size) {
    const std::string& bytes = Corpus(size).Of(e);
    double perByte = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto t = std::make_unique<TXMLTreeItem>();
        t->OpenFromBytes(bytes, "");
        const std::size_t after = HeapInUse();
        perByte = static_cast<double>(after - before) / static_cast<double>(bytes.size());
        state.PauseTiming();
        t.reset();
        state.ResumeTiming();
    }
    state.counters["mem_per_byte"] = perByte;
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}

// The same for pugixml's document of the wrapped UTF8 bytes, for contrast.
void BM_PugiMemory(benchmark::State& state, std::size_t size) {
    const std::string& wrapped = Corpus(size).Wrapped;
    double perByte = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        auto doc = std::make_unique<pugi::xml_document>();
        doc->load_buffer(wrapped.data(), wrapped.size());
        const std::size_t after = HeapInUse();
        perByte = static_cast<double>(after - before) / static_cast<double>(wrapped.size());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["mem_per_byte"] = perByte;
    state.counters["file_MB"] = static_cast<double>(wrapped.size()) / 1e6;
}

std::string Name(const char* what, const char* encoding, const char* size) {
    std::string r = what;
    if (encoding)
        r += std::string("/") + encoding;
    if (size)
        r += std::string("/") + size;
    return r;
}

void RegisterAll() {
    for (const TSize& s : kSizes) {
        for (TPackEncoding e : kEncodings)
            benchmark::RegisterBenchmark(Name("read", EncodingName(e), s.Name).c_str(), BM_Read, e,
                                         s.Utf8Bytes)
                ->Unit(benchmark::kMillisecond);
        for (TPackEncoding e : kEncodings)
            benchmark::RegisterBenchmark(Name("write", EncodingName(e), s.Name).c_str(), BM_Write,
                                         e, s.Utf8Bytes)
                ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(Name("destroy", "UTF8", s.Name).c_str(), BM_Destroy,
                                     TPackEncoding::UTF8, s.Utf8Bytes)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(Name("pugixml_parse", nullptr, s.Name).c_str(), BM_PugiParse,
                                     s.Utf8Bytes)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(Name("pugixml_tree", nullptr, s.Name).c_str(), BM_PugiTree,
                                     s.Utf8Bytes)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(Name("pugixml_save", nullptr, s.Name).c_str(), BM_PugiSave,
                                     s.Utf8Bytes)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("foreach", BM_ForEach)
        ->Arg(50000)
        ->Arg(100000)
        ->Arg(200000)
        ->Complexity(benchmark::oN)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("global_index", BM_GlobalIndex)
        ->Arg(500)
        ->Arg(1000)
        ->Arg(2000)
        ->Complexity(benchmark::oNSquared)
        ->Unit(benchmark::kMillisecond);
    const TSize& large = kSizes.back();
    for (TPackEncoding e : {TPackEncoding::UTF8, TPackEncoding::ANSI})
        benchmark::RegisterBenchmark(Name("memory", EncodingName(e), large.Name).c_str(), BM_Memory,
                                     e, large.Utf8Bytes)
            ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(Name("pugixml_memory", nullptr, large.Name).c_str(), BM_PugiMemory,
                                 large.Utf8Bytes)
        ->Unit(benchmark::kMillisecond);
}

// Prints what the console reporter prints, and keeps each run's figures for
// the summary.
class TSummaryReporter : public benchmark::ConsoleReporter {
public:
    struct TFigures {
        double BytesPerSecond = 0;
        double SecondsPerIteration = 0; // CPU time, as the library's rates use
        double MemPerByte = -1;
    };
    // In the order the benchmarks ran.
    std::vector<std::pair<std::string, TFigures>> Runs;

    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& r : reports) {
            // With --benchmark_repetitions the median stands for the case.
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if ((r.run_type != Run::RT_Iteration && !median) || r.error_occurred ||
                r.iterations == 0)
                continue;
            TFigures f;
            if (auto it = r.counters.find("bytes_per_second"); it != r.counters.end())
                f.BytesPerSecond = it->second.value;
            if (auto it = r.counters.find("mem_per_byte"); it != r.counters.end())
                f.MemPerByte = it->second.value;
            f.SecondsPerIteration = r.cpu_accumulated_time / static_cast<double>(r.iterations);
            const std::string name = r.run_name.str();
            if (TFigures* known = FindMutable(name))
                *known = f; // the median replaces the repetitions
            else
                Runs.emplace_back(name, f);
        }
    }

    TFigures* FindMutable(const std::string& name) {
        for (auto& [n, f] : Runs)
            if (n == name)
                return &f;
        return nullptr;
    }
    const TFigures* Find(const std::string& name) const {
        return const_cast<TSummaryReporter*>(this)->FindMutable(name);
    }

    // "a / b" of bytes per second against the goal, when both ran.
    void Ratio(const std::string& a, const std::string& b, double goal, bool atLeast) const {
        const TFigures* fa = Find(a);
        const TFigures* fb = Find(b);
        if (!fa || !fb || fb->BytesPerSecond <= 0)
            return;
        const double ratio = fa->BytesPerSecond / fb->BytesPerSecond;
        const bool met = atLeast ? ratio >= goal : ratio <= goal;
        std::printf("  %-22s / %-20s %7.2fx   goal %s %.2fx   %s\n", a.c_str(), b.c_str(), ratio,
                    atLeast ? ">=" : "<=", goal, met ? "met" : "MISSED");
    }

    void PrintSummary() const {
        std::printf("\nSpeed (MB = 10^6 bytes of file; CPU time):\n");
        for (const auto& [name, f] : Runs)
            if (f.BytesPerSecond > 0)
                std::printf("  %-24s %9.1f MB/s   %10.3f ms\n", name.c_str(),
                            f.BytesPerSecond / 1e6, f.SecondsPerIteration * 1e3);
        std::printf("\nRatios of this run:\n");
        for (const TSize& s : kSizes) {
            const std::string size = s.Name;
            Ratio("read/UTF8/" + size, "pugixml_tree/" + size, 1.5, true);
            Ratio("read/UTF8/" + size, "pugixml_parse/" + size, 0.5, true);
            for (TPackEncoding e : kEncodings)
                Ratio(std::string("write/") + EncodingName(e) + "/" + size, "pugixml_parse/" + size,
                      1.0, true);
        }
        std::printf("\nMemory once read (heap bytes per byte of file):\n");
        for (const auto& [name, f] : Runs)
            if (f.MemPerByte >= 0) {
                const bool engine = name.rfind("memory/", 0) == 0;
                std::printf("  %-24s %6.2f%s\n", name.c_str(), f.MemPerByte,
                            engine ? (f.MemPerByte <= 3.5 ? "   goal <= 3.5   met"
                                                          : "   goal <= 3.5   MISSED")
                                   : "");
            }
        std::printf("\nWalks:\n");
        for (const auto& [name, f] : Runs)
            if (name.rfind("foreach/", 0) == 0 || name.rfind("global_index/", 0) == 0)
                std::printf("  %-24s %10.3f ms\n", name.c_str(), f.SecondsPerIteration * 1e3);
    }
};

} // namespace

int main(int argc, char** argv) {
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TSummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintSummary();
    benchmark::Shutdown();
    return 0;
}
