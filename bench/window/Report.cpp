#include "bench/window/Report.h"

#include <cstdio>

namespace vantrel::bench {

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Signed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%+.*f", decimals, value);
    return text;
}

void PrintResults(const std::vector<ResultRow>& rows) {
    std::printf("| measure | Vantrel (median) | floor (median) | Vantrel vs floor | goal |\n");
    std::printf("|---|---|---|---|---|\n");
    for (const auto& row : rows) {
        std::printf("| %s | %s | %s | %s | %s |\n", row.measure.c_str(), row.vantrel.c_str(),
                    row.floor.c_str(), row.relation.c_str(), row.goal.c_str());
    }
}

void PrintSpread(const std::vector<std::pair<std::string, const Samples*>>& series) {
    std::printf("| series | runs | min | median | max | (max - min) / median |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (const auto& [name, samples] : series) {
        std::printf("| %s | %zu | %s | %s | %s | %s %% |\n", name.c_str(), samples->Count(),
                    Fixed(samples->Min(), 1).c_str(), Fixed(samples->Median(), 1).c_str(),
                    Fixed(samples->Max(), 1).c_str(),
                    Fixed(100 * (samples->Max() - samples->Min()) / samples->Median(), 0).c_str());
    }
}

}  // namespace vantrel::bench
