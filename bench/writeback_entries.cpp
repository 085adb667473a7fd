// Finding the entries of a large comparison file: the direct scan used by the
// write-back against the pair pattern on the pattern engine.

#include "writeback/entry_reader.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string makeComparison(int entries) {
    std::string text;
    for (int i = 0; i < entries; ++i) {
        const std::string number = std::to_string(i * 524);
        text += "\r\n" + number + ":Message " + std::to_string(i) + ": the quick brown fox\r\nMsg " +
                std::to_string(i) + "\r\n";
    }
    return text;
}

void readWithScan(benchmark::State& state) {
    const std::string text = makeComparison(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(kestrin::readEntries(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void readWithPattern(benchmark::State& state) {
    const std::string text = makeComparison(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(kestrin::readEntriesWithPattern(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

} // namespace

BENCHMARK(readWithScan)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(readWithPattern)->Arg(200000)->Unit(benchmark::kMillisecond);
