#pragma once

#include <string>
#include <utility>
#include <vector>

#include "bench/window/Samples.h"

namespace vantrel::bench {

// One line of the results table, already formatted.
struct ResultRow {
    std::string measure;
    std::string vantrel;
    std::string floor;
    std::string relation;  // ratio or difference to the floor
    std::string goal;      // to compare with by eye: the figures decide nothing
};

// The results as a Markdown table on standard output.
void PrintResults(const std::vector<ResultRow>& rows);

// Each series' runs, minimum, median and maximum, to show how noisy the runs were.
void PrintSpread(const std::vector<std::pair<std::string, const Samples*>>& series);

std::string Fixed(double value, int decimals);
// A difference with its sign, such as "+12.5".
std::string Signed(double value, int decimals);

}  // namespace vantrel::bench
