#include "command_catalog.h"

#include "command_requests.h"

namespace {

QString kindName(TimingKind kind)
{
    switch (kind) {
    case TimingKind::Plain:
        break;
    case TimingKind::LongReply:
        return QStringLiteral("long-reply");
    case TimingKind::InputSwitch:
        return QStringLiteral("input-switch");
    case TimingKind::ArrowPreparation:
        return QStringLiteral("arrow-prep");
    }
    return QStringLiteral("plain");
}

} // namespace

QList<CatalogEntry> catalog()
{
    QList<CatalogEntry> entries;
    for (const CommandButton &row : commandVocabulary())
        entries.append({QLatin1String(row.cliName), QByteArray(row.code),
                        row.isStatusQuery ? QStringLiteral("query") : kindName(row.timing),
                        row.isStatusQuery, QString::fromUtf8(row.description), requestFor(row)});
    for (const Adjuster &row : adjusters())
        entries.append({QLatin1String(row.cliName), QByteArray(row.code),
                        row.isArrow() ? QStringLiteral("arrow") : QStringLiteral("adjuster"), false,
                        QString::fromUtf8(row.description), requestFor(row)});
    return entries;
}

QStringList commandNames()
{
    QStringList names;
    for (const CatalogEntry &entry : catalog())
        names.append(entry.name);
    return names;
}

QStringList queryNames()
{
    QStringList names;
    for (const CommandButton *row : statusQueries())
        names.append(QLatin1String(row->cliName));
    return names;
}

std::optional<Request> requestNamed(const QString &name)
{
    const QByteArray wanted = name.toLatin1();
    if (const CommandButton *row = findCommand(wanted.toStdString()))
        return requestFor(*row);
    if (const Adjuster *row = findAdjuster(wanted.toStdString()))
        return requestFor(*row);
    return std::nullopt;
}

std::optional<Request> queryNamed(const QString &name)
{
    const CommandButton *row = findCommand(name.toLatin1().toStdString());
    if (!row || !row->isStatusQuery)
        return std::nullopt;
    return requestFor(*row);
}

QList<Request> allQueries()
{
    QList<Request> requests;
    for (const CommandButton *row : statusQueries())
        requests.append(requestFor(*row));
    return requests;
}

Request rawRequest(const QString &text)
{
    return typedRequest(QStringLiteral("raw"), text.toLatin1());
}
