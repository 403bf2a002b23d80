// The public decimal-to-binary corpus (parse-number-fxx): every line whose whole text is one number of the
// grammar must read as its float64 column, except that an exact midpoint between two doubles goes to the one
// nearer zero where the corpus, rounding ties to even, may have taken the other.
#include "calc/numeric_text.h"
#include "double_bits.h"
#include "exact_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using calc::testing::describe;
using calc::testing::fromBits;
using reference::describeText;

const std::filesystem::path kCorpus = std::filesystem::path(CORVALEN_TESTDATA_DIR) / "parse-number-fxx";

struct CorpusLine {
    std::uint64_t float64;
    std::string text;
};

// "float16 float32 float64 text", the text running to the end of the line.
std::optional<CorpusLine> parseLine(std::string line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    std::size_t start = 0;
    std::string fields[3];
    for (std::string& field : fields) {
        const std::size_t end = line.find(' ', start);
        if (end == std::string::npos) {
            return std::nullopt;
        }
        field = line.substr(start, end - start);
        start = end + 1;
    }
    if (fields[2].size() != 16 ||
        fields[2].find_first_not_of("0123456789ABCDEFabcdef") != std::string::npos) {
        return std::nullopt;
    }
    return CorpusLine{std::stoull(fields[2], nullptr, 16), line.substr(start)};
}

TEST(ConversionCorpus, EveryWholeNumberLineReadsAsItsFloat64) {
    ASSERT_TRUE(std::filesystem::is_directory(kCorpus)) << "the corpus is missing: " << kCorpus;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus)) {
        if (entry.path().extension() == ".txt") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty()) << "no corpus files in " << kCorpus;

    std::size_t checked = 0;
    std::size_t skipped = 0;
    std::size_t ties = 0;
    std::size_t failures = 0;
    std::string report;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        ASSERT_TRUE(in) << file;
        std::size_t checkedInFile = 0;
        std::string line;
        for (std::size_t number = 1; std::getline(in, line); ++number) {
            const auto entry = parseLine(line);
            ASSERT_TRUE(entry) << file.filename() << ":" << number
                               << " is not a corpus line: " << describeText(line);
            const auto whole = reference::numberAtStart(entry->text);
            if (entry->text.empty() || reference::isBlank(entry->text[0]) || !whole ||
                whole->size() != entry->text.size()) {
                ++skipped;
                continue;
            }
            std::string ascii = entry->text;
            std::replace_if(
                ascii.begin(), ascii.end(), [](char c) { return c == 'd' || c == 'D'; }, 'e');
            const double expected = reference::towardZeroOnTie(fromBits(entry->float64), ascii);
            ties += std::bit_cast<std::uint64_t>(expected) != entry->float64;
            ++checked;
            ++checkedInFile;
            if (const double got = calc::textToNumber(entry->text);
                std::bit_cast<std::uint64_t>(got) != std::bit_cast<std::uint64_t>(expected)) {
                if (failures++ < 12) {
                    report += file.filename().string() + ":" + std::to_string(number) + " " +
                              describeText(entry->text) + "\n  expected " + describe(expected) +
                              "\n       got " + describe(got) + "\n";
                }
            }
        }
        std::cout << "[   corpus ] " << file.filename().string() << ": " << checkedInFile
                  << " lines checked\n";
    }
    std::cout << "[   corpus ] " << checked << " lines checked (" << ties
              << " exact ties moved toward zero), " << skipped << " outside the grammar\n";
    RecordProperty("checked", static_cast<int>(checked));
    EXPECT_GT(checked, 0u);
    EXPECT_EQ(failures, 0u) << report;
}

} // namespace
