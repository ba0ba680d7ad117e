// Order statistics and the table every benchmark prints its figures in:
// | figure | measured | goal | verdict |
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace kalmor::bench {

using Steady = std::chrono::steady_clock;

double Milliseconds(Steady::duration d);
// Nearest-rank percentile, p in [0, 100].
double Percentile(std::vector<double> samples, double p);
std::string Fixed(double value, int decimals);

struct Row {
  std::string figure;
  std::string measured;
  std::string goal;
  std::string verdict;  // "met", "NOT MET" or "info"
};
void PrintRow(const Row& row);
std::string Verdict(bool met);

}  // namespace kalmor::bench
