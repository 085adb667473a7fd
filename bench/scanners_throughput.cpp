// Throughput of the whole-image scanners (UTF-16, UTF-8, Delphi, VB) on a
// generated 256 MB file that mixes binary noise, zero padding, ASCII, GBK,
// UTF-16LE and UTF-8 strings and Delphi and VB string headers.
//
// KESTRIN_BENCH_MB sets the size in MB (default 256). KESTRIN_BENCH_DUMP, when
// set to a path, also writes the generated file there, so that other tools can
// be timed on the same bytes.

#include "core/reporter.h"
#include "extract/delphi_scanner.h"
#include "extract/extraction_settings.h"
#include "extract/scan_frame.h"
#include "extract/utf16_scanner.h"
#include "extract/utf8_scanner.h"
#include "extract/vb_scanner.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

namespace {

using namespace kestrin;

void appendUtf8(std::string& out, unsigned c) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
}

void appendUnit(std::string& out, unsigned u) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
}

std::string makeMixedImage(std::size_t size) {
    std::mt19937 rng(20151028);
    const auto below = [&](unsigned n) { return static_cast<unsigned>(rng() % n); };
    const auto letter = [&] { return static_cast<unsigned>(0x20 + below(0x5F)); };
    const auto hanzi = [&] { return 0x4E00u + below(0x51A5); };
    std::string out;
    out.reserve(size + 8192);
    while (out.size() < size) {
        const unsigned words = 2 + below(30);
        switch (below(9)) {
        case 0:
        case 1:  // binary noise
            for (unsigned i = 256 + below(4096); i > 0; --i) out.push_back(static_cast<char>(rng()));
            break;
        case 2:  // zero padding
            out.append(16 + below(512), '\0');
            break;
        case 3:  // ASCII
            for (unsigned i = 0; i < words; ++i) out.push_back(static_cast<char>(letter()));
            out.push_back('\0');
            break;
        case 4:  // GBK mixed with ASCII
            for (unsigned i = 0; i < words; ++i) {
                if (below(3) == 0) {
                    out.push_back(static_cast<char>(letter()));
                } else {
                    out.push_back(static_cast<char>(0xB0 + below(0x48)));
                    out.push_back(static_cast<char>(0xA1 + below(0x5E)));
                }
            }
            out.push_back('\0');
            break;
        case 5:  // UTF-16LE, ASCII or Chinese
            for (unsigned i = 0; i < words; ++i) appendUnit(out, below(2) ? letter() : hanzi());
            out.append(2, '\0');
            break;
        case 6:  // UTF-8 Chinese mixed with ASCII
            for (unsigned i = 0; i < words; ++i) {
                if (below(3) == 0)
                    out.push_back(static_cast<char>(letter()));
                else
                    appendUtf8(out, hanzi());
            }
            out.push_back('\0');
            break;
        case 7: {  // Delphi strings, ANSI and UTF-16
            out.append(4, '\xFF');
            for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>(k == 0 ? words : 0));
            for (unsigned i = 0; i < words; ++i) out.push_back(static_cast<char>(0x41 + below(26)));
            out.push_back('\0');
            out.append(4, '\xFF');
            for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>(k == 0 ? words : 0));
            for (unsigned i = 0; i < words; ++i) appendUnit(out, 0x41 + below(26));
            out.append(2, '\0');
            break;
        }
        default:  // VB string
            for (int k = 0; k < 4; ++k) out.push_back(static_cast<char>(k == 0 ? 2 * words : 0));
            for (unsigned i = 0; i < words; ++i) appendUnit(out, 0x41 + below(26));
            out.append(2, '\0');
            break;
        }
    }
    out.resize(size);
    return out;
}

const std::string& image() {
    static const std::string bytes = [] {
        const char* mb = std::getenv("KESTRIN_BENCH_MB");
        std::string generated = makeMixedImage(static_cast<std::size_t>(mb ? std::atoi(mb) : 256) << 20);
        if (const char* dump = std::getenv("KESTRIN_BENCH_DUMP"))
            std::ofstream(dump, std::ios::binary).write(generated.data(), static_cast<std::streamsize>(generated.size()));
        return generated;
    }();
    return bytes;
}

ExtractionSettings plainSettings() {
    ExtractionSettings s;
    s.textClassMode = TextClassMode::AsciiOnly;
    s.minLength = 2;
    return s;
}

ExtractionSettings gbkSettings() {
    ExtractionSettings s = plainSettings();
    s.textClassMode = TextClassMode::Mixed;
    s.doubleByteClass = 2;
    return s;
}

void runSearch(benchmark::State& state, const ImageSearch& search, const ExtractionSettings& settings) {
    const std::string& bytes = image();
    std::size_t entryBytes = 0;
    for (auto _ : state) {
        SilentReporter reporter;
        EntryBuffer entries(settings);
        search(bytes, settings, entries, reporter);
        entryBytes = entries.bytes().size();
        benchmark::DoNotOptimize(entryBytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["entries_per_input"] = static_cast<double>(entryBytes) / static_cast<double>(bytes.size());
}

void BM_Utf16Plain(benchmark::State& s) { runSearch(s, searchUtf16Strings, plainSettings()); }
void BM_Utf16Gbk(benchmark::State& s) { runSearch(s, searchUtf16Strings, gbkSettings()); }
void BM_Utf8Gbk(benchmark::State& s) { runSearch(s, searchUtf8Strings, gbkSettings()); }
void BM_DelphiAsciiPlain(benchmark::State& s) { runSearch(s, searchDelphiAscii, plainSettings()); }
void BM_DelphiUtf16Plain(benchmark::State& s) { runSearch(s, searchDelphiUtf16, plainSettings()); }
void BM_VbPlain(benchmark::State& s) { runSearch(s, searchVbStrings, plainSettings()); }
void BM_VbGbk(benchmark::State& s) { runSearch(s, searchVbStrings, gbkSettings()); }

BENCHMARK(BM_Utf16Plain)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Utf16Gbk)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Utf8Gbk)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DelphiAsciiPlain)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DelphiUtf16Plain)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_VbPlain)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_VbGbk)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
