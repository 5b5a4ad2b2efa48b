#pragma once

#include <chrono>
#include <vector>

namespace vantrel::bench {

// Repeated measurements of one quantity.
class Samples {
  public:
    void Add(double value) { values_.push_back(value); }
    std::size_t Count() const { return values_.size(); }
    double Median() const;
    double Min() const;
    double Max() const;

  private:
    std::vector<double> values_;
};

// The wall-clock time `work` takes, in milliseconds.
template <typename Work>
double MillisecondsOf(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace vantrel::bench
