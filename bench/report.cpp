#include "report.h"

#include <QStringList>

#include <algorithm>

namespace {

const QString RowTag = QStringLiteral("ROW");

QString verdictText(Row::Verdict verdict)
{
    switch (verdict) {
    case Row::Verdict::Pass:
        return QStringLiteral("pass");
    case Row::Verdict::Fail:
        return QStringLiteral("FAIL");
    case Row::Verdict::Missing:
        return QStringLiteral("MISSING");
    case Row::Verdict::Note:
        return QStringLiteral("note");
    case Row::Verdict::Info:
        break;
    }
    return QStringLiteral("info");
}

QString flat(QString text)
{
    return text.replace(QLatin1Char('\t'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

} // namespace

Row atMost(const QString &figure, const QString &measured, double value, double limit,
           const QString &target)
{
    const double ratio = value / limit;
    return {figure, measured, target, ratio, ratio <= 1 ? Row::Verdict::Pass : Row::Verdict::Fail};
}

Row atLeast(const QString &figure, const QString &measured, double value, double limit,
            const QString &target)
{
    const double ratio = value / limit;
    return {figure, measured, target, ratio, ratio >= 1 ? Row::Verdict::Pass : Row::Verdict::Fail};
}

Row info(const QString &figure, const QString &measured, const QString &note)
{
    return {figure, measured, note, 0, Row::Verdict::Info};
}

Row note(const QString &text)
{
    return {QString(), text, QString(), 0, Row::Verdict::Note};
}

Row missing(const QString &figure, const QString &why)
{
    return {figure, QStringLiteral("not measured: ") + why, QString(), 0, Row::Verdict::Missing};
}

QString encodeRow(const Row &row)
{
    return QStringList{RowTag,
                       flat(row.figure),
                       flat(row.measured),
                       flat(row.target),
                       QString::number(row.ratio, 'g', 17),
                       verdictText(row.verdict)}
        .join(QLatin1Char('\t'));
}

std::optional<Row> decodeRow(const QString &line)
{
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() != 6 || fields[0] != RowTag)
        return std::nullopt;
    Row row{fields[1], fields[2], fields[3], fields[4].toDouble(), Row::Verdict::Info};
    if (fields[5] == verdictText(Row::Verdict::Pass))
        row.verdict = Row::Verdict::Pass;
    else if (fields[5] == verdictText(Row::Verdict::Fail))
        row.verdict = Row::Verdict::Fail;
    else if (fields[5] == verdictText(Row::Verdict::Missing))
        row.verdict = Row::Verdict::Missing;
    else if (fields[5] == verdictText(Row::Verdict::Note))
        row.verdict = Row::Verdict::Note;
    return row;
}

void emitRow(const Row &row)
{
    std::printf("%s\n", qPrintable(encodeRow(row)));
    std::fflush(stdout);
}

Tally printTable(const QList<Row> &rows, std::FILE *out)
{
    const QStringList headings{QStringLiteral("Figure"), QStringLiteral("Measured"),
                               QStringLiteral("Target"), QStringLiteral("Ratio"),
                               QStringLiteral("Result")};
    QList<QStringList> lines{headings};
    QStringList notes;
    for (const Row &row : rows) {
        if (row.verdict == Row::Verdict::Note) {
            notes.append(row.measured);
            continue;
        }
        const bool hasRatio =
            row.verdict == Row::Verdict::Pass || row.verdict == Row::Verdict::Fail;
        lines.append({row.figure, row.measured, row.target,
                      hasRatio ? QString::number(row.ratio, 'f', 3) : QStringLiteral("–"),
                      verdictText(row.verdict)});
    }
    QList<qsizetype> widths(headings.size(), 0);
    for (const QStringList &line : lines)
        for (qsizetype column = 0; column < line.size(); ++column)
            widths[column] = std::max(widths[column], line[column].size());

    auto print = [&](const QStringList &line) {
        QString text;
        for (qsizetype column = 0; column < line.size(); ++column)
            text += line[column].leftJustified(widths[column] + 2);
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        std::fprintf(out, "%s\n", qPrintable(text));
    };
    print(lines.first());
    QStringList rule;
    for (const qsizetype width : widths)
        rule.append(QString(width, QLatin1Char('-')));
    print(rule);
    for (qsizetype i = 1; i < lines.size(); ++i)
        print(lines[i]);
    if (!notes.isEmpty())
        std::fprintf(out, "\n");

    for (const QString &text : notes)
        std::fprintf(out, "- %s\n", qPrintable(text));

    Tally tally;
    for (const Row &row : rows) {
        tally.met += row.verdict == Row::Verdict::Pass;
        tally.judged += row.verdict == Row::Verdict::Pass || row.verdict == Row::Verdict::Fail;
        tally.missing += row.verdict == Row::Verdict::Missing;
    }
    std::fprintf(out, "\n%d of %d targets met, %d figures not measured\n", tally.met, tally.judged,
                 tally.missing);
    return tally;
}
