// Summaries of measured samples.
#pragma once

#include <vector>

struct Summary {
  int count = 0;
  double median = 0;
  double mean = 0;
  double min = 0;
  double max = 0;
};

// Median (mean of the two middle values for an even count), mean, least and
// greatest; all 0 for no samples.
Summary Summarize(std::vector<double> samples);

// The mean of the middle half of the samples (the quarter on each side
// left out): steadier than the mean against rare long ones, and finer than
// the median where the samples are whole clock ticks. 0 for no samples.
double InterquartileMean(std::vector<double> samples);

// The sample farthest from zero, with its sign; 0 for no samples.
double WorstDeviation(const std::vector<double>& deviations);
