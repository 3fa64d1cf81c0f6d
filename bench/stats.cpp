#include "stats.h"

#include <algorithm>
#include <cmath>
#include <numeric>

Summary Summarize(std::vector<double> samples) {
  Summary summary;
  if (samples.empty()) return summary;
  std::sort(samples.begin(), samples.end());
  size_t n = samples.size();
  summary.count = static_cast<int>(n);
  summary.median =
      n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
  summary.mean = std::accumulate(samples.begin(), samples.end(), 0.0) / n;
  summary.min = samples.front();
  summary.max = samples.back();
  return summary;
}

double WorstDeviation(const std::vector<double>& deviations) {
  double worst = 0;
  for (double deviation : deviations)
    if (std::fabs(deviation) > std::fabs(worst)) worst = deviation;
  return worst;
}

double InterquartileMean(std::vector<double> samples) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  size_t quarter = samples.size() / 4;
  auto first = samples.begin() + quarter;
  auto last = samples.end() - quarter;
  return std::accumulate(first, last, 0.0) / (last - first);
}
