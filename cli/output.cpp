#include "cli/output.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

namespace cli {

namespace {

constexpr std::array<std::string_view, 3> kCsvHeader{"h_m", "Vh_m3", "fill_percent"};
constexpr std::array<std::string_view, 3> kTableHeader{"h (m)", "Vh (m3)", "fill (%)"};
constexpr std::string_view kTableGap = "  ";

using Widths = std::array<std::size_t, 3>;

void writeTableLine(std::ostream& out, const Widths& widths, const std::array<std::string_view, 3>& cells) {
    for (std::size_t column = 0; column < cells.size(); ++column) {
        if (column > 0) {
            out << kTableGap;
        }
        out << std::string(widths[column] - cells[column].size(), ' ') << cells[column];
    }
    out << '\n';
}

} // namespace

void writeVolumes(std::ostream& out, const calc::VolumeTexts& texts) {
    out << "V " << texts.V << "\nVh " << texts.Vh << '\n';
}

void writeLevel(std::ostream& out, std::string_view levelText) {
    out << "h " << levelText << '\n';
}

void writeChart(std::ostream& out, const VesselArguments& arguments, double step, ChartFormat format) {
    if (format == ChartFormat::csv) {
        out << kCsvHeader[0] << ',' << kCsvHeader[1] << ',' << kCsvHeader[2] << '\n';
        forEachChartRow(arguments, step, [&](const ChartRow& row) {
            out << row.h << ',' << row.Vh << ',' << row.fill << '\n';
        });
        return;
    }
    Widths widths{};
    std::ranges::transform(kTableHeader, widths.begin(), &std::string_view::size);
    forEachChartRow(arguments, step, [&](const ChartRow& row) {
        widths[0] = std::max(widths[0], row.h.size());
        widths[1] = std::max(widths[1], row.Vh.size());
        widths[2] = std::max(widths[2], row.fill.size());
    });
    writeTableLine(out, widths, kTableHeader);
    forEachChartRow(arguments, step, [&](const ChartRow& row) {
        writeTableLine(out, widths, {row.h, row.Vh, row.fill});
    });
}

} // namespace cli
