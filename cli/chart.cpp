#include "cli/chart.h"

#include "calc/numeric_text.h"
#include "calc/volume.h"
#include "cli/level_text.h"

#include <string>
#include <utility>

namespace cli {

namespace {

constexpr std::int32_t kFillDecimalPlaces = 2;

ChartRow makeRow(const VesselArguments& arguments, double total, std::string levelText, double h) {
    ChartRow row;
    row.Vh = calc::computeVolumes(arguments.rText, arguments.LText, levelText, arguments.hiText).Vh;
    row.fill = calc::numberToText(
        calc::roundToPlaces(100 * liquidVolume(arguments.vessel, h) / total, kFillDecimalPlaces));
    row.h = std::move(levelText);
    return row;
}

} // namespace

void forEachChartRow(const VesselArguments& arguments, double step,
                     const std::function<void(const ChartRow&)>& row) {
    const double top = 2 * arguments.vessel.r;
    const double total = totalVolume(arguments.vessel);
    // The level i * step is written with 13 significant digits and the row is at the number that text
    // reads as, so that the level shown is the level computed: 3 * 0.1 = 0.30000000000000004 becomes
    // "0.3", exactly what a user would type into the window. The product is within about 2e-16 of
    // i times the step's decimal value, so for a step of up to about 6 significant digits the text is
    // that decimal product itself. Since the step is at least 1e-7 of 2r, no two rows share a level.
    for (std::int64_t i = 0;; ++i) {
        std::string text = calc::numberToText(static_cast<double>(i) * step);
        const double h = calc::textToNumber(text);
        if (h >= top) {
            break;
        }
        row(makeRow(arguments, total, std::move(text), h));
    }
    row(makeRow(arguments, total, levelText(top), top));
}

} // namespace cli
