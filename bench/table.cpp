#include "bench/table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace kalmor::bench {

double Milliseconds(Steady::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

double Percentile(std::vector<double> samples, double p) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  const double size = static_cast<double>(samples.size());
  const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * size));
  return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

std::string Fixed(double value, int decimals) {
  std::ostringstream text;
  text.setf(std::ios::fixed);
  text.precision(decimals);
  text << value;
  return text.str();
}

void PrintRow(const Row& row) {
  std::printf("| %s | %s | %s | %s |\n", row.figure.c_str(), row.measured.c_str(),
              row.goal.c_str(), row.verdict.c_str());
  std::fflush(stdout);
}

std::string Verdict(bool met) { return met ? "met" : "NOT MET"; }

}  // namespace kalmor::bench
