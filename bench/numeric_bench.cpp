// The numeric core side by side with the library routines it stands beside, in one run and on the same
// inputs: calc::textToNumber against glibc strtod, calc::numberToText against snprintf("%.13g") and
// std::to_chars (shortest), plus roundToPlaces, one whole computeVolumes, and texts of 1 MB and 10 MB.
//
// Every input is generated from a fixed seed, so every run measures the same texts and doubles. After the
// benchmarks a summary gives the median CPU time per call of each and the ratios ours / theirs.
#include "calc/numeric_text.h"
#include "calc/volume.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#ifndef CORVALEN_BUILD_TYPE
#define CORVALEN_BUILD_TYPE "unknown"
#endif

namespace {

// Each set of short inputs holds this many items; a benchmark iteration converts them all. Thousands of
// distinct inputs keep the branch predictor from learning the sequence.
constexpr std::size_t kSetSize = 4096;
constexpr std::uint64_t kSeed = 20240601;

// Raw 64-bit outputs of mt19937_64, whose sequence the C++ standard fixes; no distribution objects,
// whose results are left to the library.
class Random {
public:
    std::uint64_t next() { return engine_(); }
    std::uint64_t below(std::uint64_t n) { return next() % n; }
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * 0x1p-53; }
    char digit() { return static_cast<char>('0' + below(10)); }

private:
    std::mt19937_64 engine_{kSeed};
};

std::string format(const char* pattern, double x) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, x);
    return buffer;
}

// What people type into the boxes: a few fixed favourites, then integers of up to four digits and decimals
// with up to three integer and three fraction digits.
std::vector<std::string> typedTexts(Random& random) {
    static const char* const kFavourites[] = {"1.5",  "0.375", "12.5", "1200", "2",    "0.5",  "3.2",  "25",
                                              "100",  "0.8",   "1.25", "7.5",  "4",    "10",   "0.05", "2.4",
                                              "1.05", "6",     "0.25", "15",   "2.75", "0.01", "800",  "3"};
    std::vector<std::string> texts;
    while (texts.size() < kSetSize) {
        const std::uint64_t kind = random.below(4);
        std::string text;
        if (kind == 0) {
            text = kFavourites[random.below(std::size(kFavourites))];
        } else if (kind == 1) {
            text = std::to_string(1 + random.below(9999));
        } else {
            const std::uint64_t integerDigits = random.below(4); // 0 reads as "0.xxx"
            text = integerDigits == 0 ? "0" : std::to_string(1 + random.below(9));
            for (std::uint64_t i = 1; i < integerDigits; ++i) {
                text += random.digit();
            }
            text += '.';
            const std::uint64_t fractionDigits = 1 + random.below(3);
            for (std::uint64_t i = 0; i < fractionDigits; ++i) {
                text += random.digit();
            }
        }
        texts.push_back(text);
    }
    return texts;
}

// Finite doubles from random bit patterns: the biased exponent is uniform, so the decimal exponents spread
// evenly over -308..308, subnormals included; both signs.
std::vector<double> randomDoubles(Random& random) {
    std::vector<double> values;
    while (values.size() < kSetSize) {
        const double x = std::bit_cast<double>(random.next());
        if (std::isfinite(x)) {
            values.push_back(x);
        }
    }
    return values;
}

std::vector<std::string> seventeenDigitTexts(const std::vector<double>& values) {
    std::vector<std::string> texts;
    for (double x : values) {
        texts.push_back(format("%.17g", x));
    }
    return texts;
}

// 40 to 100 significant digits with the point anywhere among them, half of them with an exponent.
std::vector<std::string> longDigitTexts(Random& random) {
    std::vector<std::string> texts;
    while (texts.size() < kSetSize) {
        const std::uint64_t count = 40 + random.below(61);
        const std::uint64_t point = 1 + random.below(count);
        std::string text(1, static_cast<char>('1' + random.below(9)));
        for (std::uint64_t i = 1; i < count; ++i) {
            if (i == point) {
                text += '.';
            }
            text += random.digit();
        }
        if (random.below(2) == 0) {
            text += random.below(2) == 0 ? "e-" : "e+";
            text += std::to_string(random.below(200));
        }
        texts.push_back(text);
    }
    return texts;
}

// Volumes of real vessels, from 10 litres to 10,000 cubic metres, spread evenly on a logarithmic scale.
std::vector<double> typicalVolumes(Random& random) {
    std::vector<double> values;
    while (values.size() < kSetSize) {
        values.push_back(std::pow(10.0, -2 + 6 * random.unit()));
    }
    return values;
}

struct VesselTexts {
    std::string r, L, h, hi;
};

// Radii of 0.5 to 3 m, lengths of 1 to 20 m, a level anywhere in the vessel and heads of a quarter of the
// diameter, typed with two decimals.
std::vector<VesselTexts> typicalVessels(Random& random) {
    std::vector<VesselTexts> vessels;
    while (vessels.size() < kSetSize) {
        const double r = static_cast<double>(50 + random.below(251)) / 100;
        const double L = static_cast<double>(100 + random.below(1901)) / 100;
        const double h = std::round(2 * r * random.unit() * 100) / 100;
        vessels.push_back({format("%.2f", r), format("%.2f", L), format("%.2f", h), format("%.2f", r / 2)});
    }
    return vessels;
}

// The long texts, of exactly `size` bytes: an integer of that many digits (far beyond the double range), a
// fraction "0.ddd...", and the midpoint between 1 and the next double followed by zeros and a final 1, which
// only an exact comparison with all the digits can round.
constexpr std::size_t kOneMB = 1000000;
constexpr std::size_t kTenMB = 10000000;

std::string integerDigitsText(Random& random, std::size_t size) {
    std::string text(size, '0');
    text[0] = static_cast<char>('1' + random.below(9));
    for (std::size_t i = 1; i < size; ++i) {
        text[i] = random.digit();
    }
    return text;
}

std::string fractionText(Random& random, std::size_t size) {
    std::string text = integerDigitsText(random, size);
    text[0] = '0';
    text[1] = '.';
    return text;
}

std::string midpointText(std::size_t size) {
    // 1 + 2^-53, exactly.
    const std::string_view midpoint = "1.00000000000000011102230246251565404236316680908203125";
    std::string text(size, '0');
    std::copy(midpoint.begin(), midpoint.end(), text.begin());
    text.back() = '1';
    return text;
}

struct LongText {
    std::string family; // integer, fraction or midpoint
    std::string size;   // 1MB or 10MB
    std::string text;
};

// Benchmark names and the number of calls one iteration makes, for the summary.
std::map<std::string, double>& callsPerIteration() {
    static std::map<std::string, double> calls;
    return calls;
}

template <class Input, class Function>
void registerOverSet(const std::string& name, const std::vector<Input>& inputs, Function function) {
    callsPerIteration()[name] = static_cast<double>(inputs.size());
    benchmark::RegisterBenchmark(name.c_str(), [&inputs, function](benchmark::State& state) {
        for (auto _ : state) {
            for (const Input& input : inputs) {
                function(input);
            }
        }
        state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(inputs.size()));
    });
}

template <class Function>
void registerOverText(const std::string& name, const std::string& text, Function function) {
    callsPerIteration()[name] = 1;
    benchmark::RegisterBenchmark(name.c_str(), [&text, function](benchmark::State& state) {
        for (auto _ : state) {
            function(text);
        }
        state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
    })->Unit(benchmark::kMillisecond);
}

void readWithCalc(const std::string& text) {
    benchmark::DoNotOptimize(calc::textToNumber(text));
}
void readWithStrtod(const std::string& text) {
    benchmark::DoNotOptimize(std::strtod(text.c_str(), nullptr));
}
void writeWithCalc(double x) {
    const std::string text = calc::numberToText(x);
    benchmark::DoNotOptimize(text.data());
}
void writeWithSnprintf(double x) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.13g", x);
    benchmark::DoNotOptimize(buffer);
}
void writeWithToChars(double x) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, x);
    benchmark::DoNotOptimize(result.ptr);
    benchmark::DoNotOptimize(buffer);
}
void normalise(const std::string& text) {
    const std::string shown = calc::numberToText(calc::readNumber(text));
    benchmark::DoNotOptimize(shown.data());
}

// Texts on which textToNumber and strtod give different bits: 0 means both read the same values, which
// makes the comparison a fair one. (They may differ only on an exact tie, which these inputs never are.)
std::size_t disagreements(const std::vector<std::string>& texts) {
    return static_cast<std::size_t>(std::count_if(texts.begin(), texts.end(), [](const std::string& text) {
        return std::bit_cast<std::uint64_t>(calc::textToNumber(text)) !=
               std::bit_cast<std::uint64_t>(std::strtod(text.c_str(), nullptr));
    }));
}

// The console output, plus the median CPU time of every benchmark for the summary: the aggregate when the
// library computed one, else the median of the repetitions it reported.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    SummaryReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            const std::string& name = run.run_name.function_name;
            repetitionCount_[name] = run.repetitions;
            if (run.run_type == Run::RT_Iteration) {
                repetitions_[name].push_back(nanoseconds(run));
            } else if (run.aggregate_name == "median") {
                medians_[name] = nanoseconds(run);
            }
        }
    }

    // The median CPU time of one iteration, in nanoseconds; NaN if the benchmark did not run.
    double median(const std::string& name) const {
        if (const auto found = medians_.find(name); found != medians_.end()) {
            return found->second;
        }
        const auto found = repetitions_.find(name);
        if (found == repetitions_.end() || found->second.empty()) {
            return std::nan("");
        }
        std::vector<double> times = found->second;
        std::sort(times.begin(), times.end());
        const std::size_t n = times.size();
        return n % 2 == 1 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    }

    std::int64_t repetitions(const std::string& name) const {
        const auto found = repetitionCount_.find(name);
        return found == repetitionCount_.end() ? 0 : found->second;
    }

private:
    static double nanoseconds(const Run& run) {
        static constexpr double kPerUnit[] = {1, 1e3, 1e6, 1e9}; // ns, us, ms, s
        return run.GetAdjustedCPUTime() * kPerUnit[run.time_unit];
    }

    std::map<std::string, std::vector<double>> repetitions_;
    std::map<std::string, double> medians_;
    std::map<std::string, std::int64_t> repetitionCount_;
};

double perCall(const SummaryReporter& reporter, const std::string& name) {
    return reporter.median(name) / callsPerIteration()[name];
}

double loadAverage() {
    double load[1] = {std::nan("")};
    getloadavg(load, 1);
    return load[0];
}

// Ours against theirs, the target being ours <= theirs.
void printComparison(const SummaryReporter& reporter, const char* label, const std::string& ours,
                     const std::string& theirs, bool isTarget) {
    const double a = perCall(reporter, ours);
    const double b = perCall(reporter, theirs);
    const double ratio = a / b;
    const char* verdict = !isTarget           ? "(reference)"
                          : std::isnan(ratio) ? "not run"
                          : ratio <= 1        ? "met"
                                              : "MISSED";
    std::printf("  %-34s %10.1f %10.1f %8.2f  %s\n", label, a, b, ratio, verdict);
}

// The 1 MB and 10 MB texts: the target is under 50 ms for 1 MB, and a time linear in the length, which
// counts as met when 10 MB takes 8 to 12 times as long as 1 MB.
void printLong(const SummaryReporter& reporter, const char* label, const std::string& name, bool isTarget) {
    const double one = perCall(reporter, name + "/1MB") / 1e6;
    const double ten = perCall(reporter, name + "/10MB") / 1e6;
    const double ratio = ten / one;
    if (!isTarget) {
        std::printf("  %-34s %10.2f %10.2f %8.2f  (reference)\n", label, one, ten, ratio);
        return;
    }
    if (std::isnan(ratio)) {
        std::printf("  %-34s %10s\n", label, "not run");
        return;
    }
    std::printf("  %-34s %10.2f %10.2f %8.2f  %-10s %s\n", label, one, ten, ratio,
                one < 50 ? "met" : "MISSED", ratio >= 8 && ratio <= 12 ? "met" : "MISSED");
}

void printSummary(const SummaryReporter& reporter, double loadBefore) {
    std::printf("\nSummary: median CPU time per call over %lld repetitions; ratio = ours / theirs\n",
                static_cast<long long>(reporter.repetitions("read/typed/textToNumber")));
    std::printf("Built as %s; load average (1 min) %.2f before the run, %.2f after it.\n",
                CORVALEN_BUILD_TYPE, loadBefore, loadAverage());

    std::printf("\n  %-34s %10s %10s %8s\n", "textToNumber vs strtod (ns)", "ours", "strtod", "ratio");
    printComparison(reporter, "typed numbers", "read/typed/textToNumber", "read/typed/strtod", true);
    printComparison(reporter, "17 significant digits", "read/17-digit/textToNumber", "read/17-digit/strtod",
                    true);
    printComparison(reporter, "40 to 100 digits", "read/long/textToNumber", "read/long/strtod", true);

    std::printf("\n  %-34s %10s %10s %8s\n", "numberToText vs snprintf %.13g (ns)", "ours", "snprintf",
                "ratio");
    printComparison(reporter, "rounded typical volumes", "write/volumes/numberToText",
                    "write/volumes/snprintf", true);
    printComparison(reporter, "random doubles", "write/random/numberToText", "write/random/snprintf", true);
    std::printf("\n  %-34s %10s %10s %8s\n", "numberToText vs to_chars (ns)", "ours", "to_chars", "ratio");
    printComparison(reporter, "rounded typical volumes", "write/volumes/numberToText",
                    "write/volumes/to_chars", false);
    printComparison(reporter, "random doubles", "write/random/numberToText", "write/random/to_chars", false);

    std::printf("\n  %-34s %10s\n", "The calculation (ns)", "ours");
    std::printf("  %-34s %10.1f\n", "roundToPlaces(x, 5), volumes",
                perCall(reporter, "round/volumes/roundToPlaces"));
    std::printf("  %-34s %10.1f\n", "computeVolumes, typical vessels",
                perCall(reporter, "calculate/computeVolumes"));

    std::printf("\n  %-34s %10s %10s %8s  %-10s %s\n", "Long texts (ms)", "1 MB", "10 MB", "10/1", "< 50 ms",
                "linear");
    printLong(reporter, "textToNumber, integer digits", "long/integer/textToNumber", true);
    printLong(reporter, "textToNumber, fraction", "long/fraction/textToNumber", true);
    printLong(reporter, "textToNumber, midpoint", "long/midpoint/textToNumber", true);
    printLong(reporter, "normalisation, integer digits", "long/integer/normalise", true);
    printLong(reporter, "normalisation, fraction", "long/fraction/normalise", true);
    printLong(reporter, "normalisation, midpoint", "long/midpoint/normalise", true);
    printLong(reporter, "strtod, integer digits", "long/integer/strtod", false);
    printLong(reporter, "strtod, fraction", "long/fraction/strtod", false);
    printLong(reporter, "strtod, midpoint", "long/midpoint/strtod", false);
    std::printf("\n(1 MB = 1,000,000 bytes. The normalisation is numberToText(readNumber(text)).)\n");
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C"); // strtod and snprintf in the C locale, "." the decimal point
    calc::setFloatingPointEnvironment();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }

    Random random;
    const std::vector<std::string> typed = typedTexts(random);
    const std::vector<double> randoms = randomDoubles(random);
    const std::vector<std::string> seventeen = seventeenDigitTexts(randoms);
    const std::vector<std::string> longDigits = longDigitTexts(random);
    const std::vector<double> volumes = typicalVolumes(random);
    std::vector<double> roundedVolumes;
    for (double x : volumes) {
        roundedVolumes.push_back(calc::roundToPlaces(x, 5));
    }
    const std::vector<VesselTexts> vessels = typicalVessels(random);

    std::vector<LongText> longTexts;
    for (const auto& [size, label] : {std::pair{kOneMB, "1MB"}, std::pair{kTenMB, "10MB"}}) {
        longTexts.push_back({"integer", label, integerDigitsText(random, size)});
        longTexts.push_back({"fraction", label, fractionText(random, size)});
        longTexts.push_back({"midpoint", label, midpointText(size)});
    }

    registerOverSet("read/typed/textToNumber", typed, readWithCalc);
    registerOverSet("read/typed/strtod", typed, readWithStrtod);
    registerOverSet("read/17-digit/textToNumber", seventeen, readWithCalc);
    registerOverSet("read/17-digit/strtod", seventeen, readWithStrtod);
    registerOverSet("read/long/textToNumber", longDigits, readWithCalc);
    registerOverSet("read/long/strtod", longDigits, readWithStrtod);

    registerOverSet("write/volumes/numberToText", roundedVolumes, writeWithCalc);
    registerOverSet("write/volumes/snprintf", roundedVolumes, writeWithSnprintf);
    registerOverSet("write/volumes/to_chars", roundedVolumes, writeWithToChars);
    registerOverSet("write/random/numberToText", randoms, writeWithCalc);
    registerOverSet("write/random/snprintf", randoms, writeWithSnprintf);
    registerOverSet("write/random/to_chars", randoms, writeWithToChars);

    registerOverSet("round/volumes/roundToPlaces", volumes,
                    [](double x) { benchmark::DoNotOptimize(calc::roundToPlaces(x, 5)); });
    registerOverSet("calculate/computeVolumes", vessels, [](const VesselTexts& v) {
        const calc::VolumeTexts texts = calc::computeVolumes(v.r, v.L, v.h, v.hi);
        benchmark::DoNotOptimize(texts.V.data());
        benchmark::DoNotOptimize(texts.Vh.data());
    });

    for (const LongText& l : longTexts) {
        registerOverText("long/" + l.family + "/textToNumber/" + l.size, l.text, readWithCalc);
        registerOverText("long/" + l.family + "/normalise/" + l.size, l.text, normalise);
        registerOverText("long/" + l.family + "/strtod/" + l.size, l.text, readWithStrtod);
    }
    std::vector<std::string> longOnly;
    for (const LongText& l : longTexts) {
        longOnly.push_back(l.text);
    }

    std::printf("Inputs: %zu texts or doubles per set, seed %llu. Texts read differently by textToNumber and "
                "strtod: typed %zu, 17-digit %zu, long %zu, 1 MB and 10 MB %zu.\n",
                kSetSize, static_cast<unsigned long long>(kSeed), disagreements(typed),
                disagreements(seventeen), disagreements(longDigits), disagreements(longOnly));
    std::fflush(stdout);

    const double loadBefore = loadAverage();
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::cout.flush();
    printSummary(reporter, loadBefore);
    benchmark::Shutdown();
    return 0;
}
