#include "editor/key_type.h"
#include "editor/keyword_store.h"

#include <benchmark/benchmark.h>

namespace {

// A store of about 50,000 rows: the vocabulary and generated project names.
qasp::KeywordStore &BigStore()
{
    static const std::unique_ptr<qasp::KeywordStore> store = [] {
        auto s = std::make_unique<qasp::KeywordStore>(":memory:");
        qasp::KeywordStore::Batch batch(*s);
        for (int i = 0; i < 50000; ++i)
            s->ReplaceKeyword(qasp::KeywordTable::Public, "gName" + std::to_string(i), "变量",
                              qasp::kGlobalVariable);
        batch.Commit();
        s->RefreshKeywords();
        return s;
    }();
    return *store;
}

void BM_ExactLookup(benchmark::State &state)
{
    qasp::KeywordStore &store = BigStore();
    const std::string words[] = {"GNAME31337", "response", "NoSuchName", "ubound"};
    size_t i = 0;
    for (auto _ : state) {
        std::string w = words[i++ % 4];
        benchmark::DoNotOptimize(store.LookupKeyword(w));
    }
}
BENCHMARK(BM_ExactLookup);

// A prefix as typed: a handful of matches among 50,000 rows.
void BM_PrefixListing(benchmark::State &state)
{
    qasp::KeywordStore &store = BigStore();
    for (auto _ : state)
        benchmark::DoNotOptimize(store.ListKeywords("gname4999"));
}
BENCHMARK(BM_PrefixListing);

}  // namespace

BENCHMARK_MAIN();
