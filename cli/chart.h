// A strapping table: the liquid volume and the fill of a vessel at levels from 0 to 2r.
#pragma once

#include "cli/vessel.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace cli {

// The vessel as the user gave it: the texts go to calc::computeVolumes, the numbers are what it reads.
struct VesselArguments {
    std::string_view rText, LText, hiText;
    Vessel vessel;
};

struct ChartRow {
    std::string h;    // the level, m, as levelText writes it
    std::string Vh;   // calc::computeVolumes(r, L, h, hi).Vh: the window's text for this very level
    std::string fill; // the liquid volume as a percentage of the total, rounded to two decimals
};

// More rows than a chart may have: at 10 million rows a chart is already hundreds of megabytes.
inline constexpr std::int64_t kMaxChartRows = 10'000'000;

// The rows of the chart with levels 0, step, 2 step, ... below 2r and a last row at 2r, in order, each
// handed to `row` as it is made. The levels rise strictly; the first row is "0", "0", "0" and the last
// row's volume is V's text. For a vessel with 0 < totalVolume < infinity and 0 < step with
// 2r / step <= kMaxChartRows.
void forEachChartRow(const VesselArguments& arguments, double step,
                     const std::function<void(const ChartRow&)>& row);

} // namespace cli
