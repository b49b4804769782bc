#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "model/app_state.h"
#include "model/kelvardin_doc.h"
#include "platform/base/profile.h"

namespace {

// The keys of n alphas spread over every intercom and list of the default controller, in the
// order a setup file or an upload delivers them: by intercom, list and resource number.
std::vector<CAssign> LoadOrder(int n) {
    constexpr int kIntercoms = 31;
    const int perList = (n + kIntercoms * kAlphaListCount - 1) / (kIntercoms * kAlphaListCount);
    std::vector<CAssign> keys;
    for (int icom = 0; icom < kIntercoms; ++icom) {
        for (int type = 0; type < kAlphaListCount; ++type) {
            for (int number = 0; number < perList && static_cast<int>(keys.size()) < n; ++number)
                keys.emplace_back(static_cast<BYTE>(icom), static_cast<BYTE>(type),
                                  static_cast<WORD>(number));
        }
    }
    return keys;
}

// Loads n alphas into a fresh setup, then looks every one up by key in a random order.
void LoadAlphas(benchmark::State& state) {
    CMemoryProfile profile;
    CAppState app(profile);
    CKelvardinDoc doc;
    doc.ResetToDefaultSetup();

    const std::vector<CAssign> keys = LoadOrder(static_cast<int>(state.range(0)));
    std::vector<CAssign> lookups = keys;
    std::shuffle(lookups.begin(), lookups.end(), std::mt19937(7));

    for (auto _ : state) {
        for (const CAssign& key : keys)
            doc.StoreAlpha(key, u"LABEL");
        for (const CAssign& key : lookups) {
            const CObjSpec objSpec(CObjSpec::kAlpha, key.GetKey(), 1626);
            benchmark::DoNotOptimize(doc.FindObject(objSpec));
        }
        state.PauseTiming();
        doc.ResetToDefaultSetup();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(LoadAlphas)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();
