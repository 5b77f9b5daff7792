#pragma once

#include <QList>
#include <QString>

#include <cstdio>
#include <optional>

// One line of the benchmark table: a measured figure beside its target.
struct Row {
    enum class Verdict { Pass, Fail, Info, Missing, Note };

    QString figure;
    QString measured; // the figure with its spread, as printed
    QString target;   // "≤ 50 µs", "≥ 99.5 %", or what an info row is compared with
    double ratio = 0; // figure / target; meaningless for info rows
    Verdict verdict = Verdict::Info;
};

// A figure that must stay at or below its limit (at or above, for atLeast).
Row atMost(const QString &figure, const QString &measured, double value, double limit,
           const QString &target);
Row atLeast(const QString &figure, const QString &measured, double value, double limit,
            const QString &target);
Row info(const QString &figure, const QString &measured, const QString &note = QString());
// How a figure was taken, printed under the table.
Row note(const QString &text);
// A figure the run could not produce: the harness itself failed.
Row missing(const QString &figure, const QString &why);

// Scenario processes hand their rows to the table as one tab-separated line each.
QString encodeRow(const Row &row);
std::optional<Row> decodeRow(const QString &line);
void emitRow(const Row &row);

struct Tally {
    int met = 0;
    int judged = 0;
    int missing = 0;
};
Tally printTable(const QList<Row> &rows, std::FILE *out);
