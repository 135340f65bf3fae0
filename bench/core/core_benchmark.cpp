// The rules that run on whole configurations or whole jobs: comparing two
// images by field, and checking a batch job of a thousand rows.
#include <benchmark/benchmark.h>

#include <string>

#include "core/batch_job.h"
#include "core/capcode_rules.h"
#include "core/default_image.h"
#include "core/field_compare.h"
#include "core/frequency.h"
#include "core/image_rules.h"
#include "core/prompts.h"

namespace {

/// A configuration against one with a band change (its preset and baud
/// rate), sixteen capcodes and a prompt language changed.
void CompareByField(benchmark::State& state) {
    const zrv::ConfigImage a = zrv::StartupImage();
    zrv::ConfigImage b = a;
    (void)zrv::ChangeBand(b, 1, false);
    for (int n = 0; n < 16; ++n) (void)zrv::StoreCapcodeText(b, n, std::to_string(200000 + n));
    zrv::ChangePromptLanguage(b, 1);
    std::size_t found = 0;
    for (auto _ : state) {
        const zrv::ImageComparison c = zrv::CompareImages(a, b);
        found = c.fields.size();
        benchmark::DoNotOptimize(found);
    }
    if (found < 17) state.SkipWithError("the changes were not found");
    state.counters["fields"] = static_cast<double>(found);
}

/// Reading and checking a job of 1,000 rows, each with two capcodes, their
/// ON flags, a prompt and a password, as a dealer's order has them.
void CheckThousandRowJob(benchmark::State& state) {
    std::string csv = "name;capcode.1;capcode.1.on;capcode.2;capcode.2.on;prompt.0;password.rw;customer\n";
    for (int n = 0; n < 1000; ++n)
        csv += "bed " + std::to_string(n) + ";" + std::to_string(100000 + n) + ";on;" + std::to_string(500000 + n) +
               ";off;\"Ward " + std::to_string(n % 40) + "\";" + std::to_string(100000 + n) + ";Hospital\n";
    const zrv::ConfigImage templ = zrv::StartupImage();
    std::size_t rows = 0, problems = 0;
    for (auto _ : state) {
        const zrv::BatchReadResult r = zrv::ReadBatchJob(csv);
        problems = zrv::CheckBatchJob(r.job, templ, zrv::kDefaultCapcodeCount).size();
        rows = r.job.rows.size();
    }
    if (rows != 1000 || problems != 0) state.SkipWithError("the job was not read or not accepted whole");
}

}  // namespace

BENCHMARK(CompareByField)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckThousandRowJob)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
