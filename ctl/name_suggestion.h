#pragma once

#include <QString>
#include <QStringList>

// The fewest single-character insertions, deletions and substitutions that turn a into b.
int editDistance(QStringView a, QStringView b);

// The names nearest to a mistyped one, in table order: every name at the smallest distance,
// at most three. None when even the nearest would need more than half the word changed.
QStringList closestNames(const QString &typed, const QStringList &names);
