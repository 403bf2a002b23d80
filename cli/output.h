// What the commands print: a name and a value on each line for volume and level, and the chart as an
// aligned table or as CSV.
#pragma once

#include "calc/volume.h"
#include "cli/chart.h"

#include <ostream>
#include <string_view>

namespace cli {

enum class ChartFormat { table, csv };

// "V 5.23599\nVh 2.61799\n"
void writeVolumes(std::ostream& out, const calc::VolumeTexts& texts);

// "h 0.5\n"
void writeLevel(std::ostream& out, std::string_view levelText);

// The chart with a header line. The table right-aligns each column to its widest entry, which takes a
// first pass over the rows to measure them: a chart may have millions of rows, so none is kept.
//   csv:   h_m,Vh_m3,fill_percent        table:  h (m)  Vh (m3)  fill (%)
//          0,0,0                                     0        0         0
void writeChart(std::ostream& out, const VesselArguments& arguments, double step, ChartFormat format);

} // namespace cli
