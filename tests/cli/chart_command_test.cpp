#include "calc/numeric_text.h"
#include "calc/volume.h"
#include "cli/level_text.h"
#include "cli/vessel.h"
#include "program.h"
#include "test_names.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

namespace {

using cli::testing::ProgramResult;
using cli::testing::runProgram;

struct Row {
    std::string h, Vh, fill;
};

std::vector<std::string> split(const std::string& line, char separator) {
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, separator);) {
        cells.push_back(cell);
    }
    return cells;
}

// The rows of a CSV chart, after checking its header.
std::vector<Row> csvRows(const std::string& text) {
    std::vector<Row> rows;
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ("h_m,Vh_m3,fill_percent", line);
    while (std::getline(in, line)) {
        const std::vector<std::string> cells = split(line, ',');
        EXPECT_EQ(3u, cells.size()) << line;
        if (cells.size() == 3) {
            rows.push_back({cells[0], cells[1], cells[2]});
        }
    }
    return rows;
}

// The rows of a table chart: the cells between the blanks.
std::vector<Row> tableRows(const std::string& text) {
    std::vector<Row> rows;
    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    EXPECT_NE(std::string::npos, line.find("h (m)  ")) << line;
    while (std::getline(in, line)) {
        std::istringstream cells(line);
        Row row;
        cells >> row.h >> row.Vh >> row.fill;
        rows.push_back(row);
    }
    return rows;
}

struct ChartCase {
    const char* label;
    std::string r, L, hi, step;
    std::size_t rows;
    std::size_t sampleRow; // a row whose level is written as the decimal multiple of the step
    std::string sampleLevel;
};

class ChartCommandTest : public ::testing::TestWithParam<ChartCase> {
protected:
    void SetUp() override { calc::setFloatingPointEnvironment(); }
};

// Every row is what the window shows for that row's level; the levels rise from 0 to 2r and the volumes
// and fills with them, up to V and 100 %. Both layouts hold the same cells.
TEST_P(ChartCommandTest, RowsAreTheWindowsVolumesFromEmptyToFull) {
    const ChartCase& c = GetParam();
    const std::vector<std::string> arguments{"chart", "--r", c.r, "--L", c.L, "--hi", c.hi, "--step", c.step};
    std::vector<std::string> csvArguments = arguments;
    csvArguments.insert(csvArguments.end(), {"--format", "csv"});
    const ProgramResult csv = runProgram(csvArguments);
    ASSERT_EQ(0, csv.exitCode) << csv.err;
    EXPECT_EQ("", csv.err);
    const std::vector<Row> rows = csvRows(csv.out);
    ASSERT_EQ(c.rows, rows.size());

    const std::string V = calc::computeVolumes(c.r, c.L, "0", c.hi).V;
    EXPECT_EQ("0", rows.front().h);
    EXPECT_EQ("0", rows.front().Vh);
    EXPECT_EQ("0", rows.front().fill);
    EXPECT_EQ(2 * calc::textToNumber(c.r), calc::textToNumber(rows.back().h)) << rows.back().h;
    EXPECT_EQ(V, rows.back().Vh);
    EXPECT_EQ("100", rows.back().fill);
    EXPECT_EQ(c.sampleLevel, rows.at(c.sampleRow).h);

    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i) + ": " + rows[i].h + "," + rows[i].Vh + "," + rows[i].fill);
        EXPECT_EQ(calc::computeVolumes(c.r, c.L, rows[i].h, c.hi).Vh, rows[i].Vh);
        if (i > 0) {
            EXPECT_LT(calc::textToNumber(rows[i - 1].h), calc::textToNumber(rows[i].h));
            EXPECT_LE(calc::textToNumber(rows[i - 1].Vh), calc::textToNumber(rows[i].Vh));
            EXPECT_LE(calc::textToNumber(rows[i - 1].fill), calc::textToNumber(rows[i].fill));
        }
    }

    const ProgramResult table = runProgram(arguments);
    ASSERT_EQ(0, table.exitCode) << table.err;
    const std::vector<Row> tableCells = tableRows(table.out);
    ASSERT_EQ(rows.size(), tableCells.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].h, tableCells[i].h);
        EXPECT_EQ(rows[i].Vh, tableCells[i].Vh);
        EXPECT_EQ(rows[i].fill, tableCells[i].fill);
    }
}

const ChartCase kCharts[] = {
    {"worked example vessel", "1", "1", "0.5", "0.5", 5, 1, "0.5"},
    {"typical tank in tenths", "1.5", "6", "0.375", "0.1", 31, 3, "0.3"},
    {"flat ends with a step that does not divide 2r", "2", "10", "0", "0.3", 15, 13, "3.9"},
    {"the readme vessel", "1.2", "4", "0.3", "0.2", 13, 7, "1.4"},
    {"a radius with more digits than the window shows", "1.23456789012345", "2", "0.4", "0.25", 11, 9,
     "2.25"},
    {"a step beyond the diameter", "0.5", "3", "0.1", "2", 2, 0, "0"},
    {"a fine step", "0.5", "2", "0.25", "1e-4", 10001, 777, "0.0777"},
};

INSTANTIATE_TEST_SUITE_P(Table, ChartCommandTest, ::testing::ValuesIn(kCharts),
                         [](const auto& info) { return cli::testing::testName(info.param.label); });

// One chart as it is printed, both layouts.
TEST(ChartLayout, CsvAndTable) {
    const std::vector<std::string> vessel{"chart", "--r", "1", "--L", "1", "--hi", "0.5", "--step", "0.5"};
    std::vector<std::string> csv = vessel;
    csv.insert(csv.end(), {"--format", "csv"});
    EXPECT_EQ("h_m,Vh_m3,fill_percent\n"
              "0,0,0\n"
              "0.5,0.94143,17.98\n"
              "1,2.61799,50\n"
              "1.5,4.29455,82.02\n"
              "2,5.23599,100\n",
              runProgram(csv).out);
    std::vector<std::string> table = vessel;
    table.insert(table.end(), {"--format", "table"});
    const std::string expectedTable = "h (m)  Vh (m3)  fill (%)\n"
                                      "    0        0         0\n"
                                      "  0.5  0.94143     17.98\n"
                                      "    1  2.61799        50\n"
                                      "  1.5  4.29455     82.02\n"
                                      "    2  5.23599       100\n";
    EXPECT_EQ(expectedTable, runProgram(table).out);
    EXPECT_EQ(expectedTable, runProgram(vessel).out); // the table is the default
}

class VesselNumbersTest : public ::testing::Test {
protected:
    void SetUp() override { calc::setFloatingPointEnvironment(); }
};

// The fills and the levels are computed from the volumes as numbers; those must be the very numbers that
// computeVolumes rounds for its texts, at every level.
TEST_F(VesselNumbersTest, AreTheNumbersBehindTheWindowsTexts) {
    const struct {
        const char *r, *L, *hi;
    } vessels[] = {{"1", "1", "0.5"},
                   {"1.5", "6", "0.375"},
                   {"2", "10", "0"},
                   {"0.8", "3.2", "1.5"},
                   {"1.23456789012345", "2", "0.4"},
                   {"1e5", "1e4", "3e4"},
                   {"1e-3", "0", "1e-3"}};
    constexpr int kLevels = 1000;
    for (const auto& v : vessels) {
        const cli::Vessel vessel{calc::textToNumber(v.r), calc::textToNumber(v.L), calc::textToNumber(v.hi)};
        EXPECT_EQ(calc::computeVolumes(v.r, v.L, "0", v.hi).V,
                  calc::numberToText(calc::roundToPlaces(cli::totalVolume(vessel), 5)))
            << v.r << " " << v.L << " " << v.hi;
        for (int i = 0; i <= kLevels; ++i) {
            const double h = 2 * vessel.r * i / kLevels;
            const std::string text = cli::levelText(h);
            ASSERT_EQ(h, calc::textToNumber(text)) << text;
            EXPECT_EQ(calc::computeVolumes(v.r, v.L, text, v.hi).Vh,
                      calc::numberToText(calc::roundToPlaces(cli::liquidVolume(vessel, h), 5)))
                << v.r << " " << v.L << " " << v.hi << " at " << text;
        }
    }
}

} // namespace
