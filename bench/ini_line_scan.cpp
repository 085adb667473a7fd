// Finding the original lines of a comparison text: the single-pass line
// scanner of the ini conversions against a search with the reader pattern.

#include "comparison/comparison_format.h"
#include "comparison/numbered_lines.h"
#include "core/pattern.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// Entries as extraction writes them, about 40 bytes each.
std::string comparisonText(int entries) {
    std::string text;
    for (int i = 0; i < entries; ++i) {
        const std::string original = "Open file " + std::to_string(i) + "\\tnow";
        text += "\r\n" + std::to_string(4096 + i * 37) + ":" + original + "\r\n" + original + "\r\n";
    }
    return text;
}

void lineScanner(benchmark::State& state) {
    const std::string text = comparisonText(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(kestrin::comparison::surveyEntries(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void readerPattern(benchmark::State& state) {
    const std::string text = comparisonText(static_cast<int>(state.range(0)));
    const kestrin::Pattern pattern(kestrin::comparison::kOriginalLinePattern);
    for (auto _ : state) benchmark::DoNotOptimize(pattern.searchAll(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

} // namespace

BENCHMARK(lineScanner)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(readerPattern)->Arg(100000)->Unit(benchmark::kMillisecond);
