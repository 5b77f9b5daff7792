#include "stats.h"

#include <algorithm>
#include <cmath>

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * double(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double median(const std::vector<double> &values)
{
    if (values.empty())
        return 0;
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    const std::size_t middle = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

Spread spreadOf(const std::vector<double> &values)
{
    if (values.empty())
        return {};
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return {median(values), *low, *high};
}

QString formatSpread(const Spread &spread, int decimals)
{
    const QString middle = QString::number(spread.median, 'f', decimals);
    if (spread.min == spread.max)
        return middle;
    return QStringLiteral("%1 [%2–%3]")
        .arg(middle, QString::number(spread.min, 'f', decimals),
             QString::number(spread.max, 'f', decimals));
}
