#include "bench/window/Samples.h"

#include <algorithm>
#include <stdexcept>

namespace vantrel::bench {

double Samples::Median() const {
    if (values_.empty()) throw std::logic_error("no samples");
    std::vector<double> sorted = values_;
    std::ranges::sort(sorted);
    const std::size_t middle = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

double Samples::Min() const {
    if (values_.empty()) throw std::logic_error("no samples");
    return std::ranges::min(values_);
}

double Samples::Max() const {
    if (values_.empty()) throw std::logic_error("no samples");
    return std::ranges::max(values_);
}

}  // namespace vantrel::bench
