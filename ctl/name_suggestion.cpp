#include "name_suggestion.h"

#include <algorithm>
#include <numeric>
#include <vector>

int editDistance(QStringView a, QStringView b)
{
    // One row of the Wagner-Fischer table at a time.
    std::vector<int> row(std::size_t(b.size()) + 1);
    std::iota(row.begin(), row.end(), 0);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[std::size_t(j)];
            const int substitution = diagonal + (a[i - 1] == b[j - 1] ? 0 : 1);
            row[std::size_t(j)] = std::min({above + 1, row[std::size_t(j - 1)] + 1, substitution});
            diagonal = above;
        }
    }
    return row.back();
}

QStringList closestNames(const QString &typed, const QStringList &names)
{
    constexpr qsizetype MaxSuggestions = 3;
    const QString wanted = typed.toLower();
    const int farthest = std::max(2, int(wanted.size() / 2));
    int best = farthest + 1;
    QStringList closest;
    for (const QString &name : names) {
        const int distance = editDistance(wanted, name);
        if (distance > farthest)
            continue;
        if (distance < best) {
            best = distance;
            closest = {name};
        } else if (distance == best && closest.size() < MaxSuggestions) {
            closest.append(name);
        }
    }
    return closest;
}
