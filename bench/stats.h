#pragma once

#include <QString>

#include <vector>

// Order statistics over a handful of runs or a few thousand samples.
struct Spread {
    double median = 0;
    double min = 0;
    double max = 0;
};

// Nearest-rank percentile, p in [0, 100]; 0 for no samples.
double percentile(std::vector<double> values, double p);
double median(const std::vector<double> &values);
Spread spreadOf(const std::vector<double> &values);

// "12.3 [11.9–12.8]" with the given number of decimals; the bracket is left out for one run.
QString formatSpread(const Spread &spread, int decimals);
