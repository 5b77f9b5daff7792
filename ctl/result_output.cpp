#include "result_output.h"

#include "command_catalog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonArray byteArray(const QByteArray &bytes)
{
    QJsonArray numbers;
    for (const char byte : bytes)
        numbers.append(int(quint8(byte)));
    return numbers;
}

QJsonValue optionalText(const std::optional<QString> &text)
{
    return text ? QJsonValue(*text) : QJsonValue(QJsonValue::Null);
}

} // namespace

QString outcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Ack:
        return QStringLiteral("ack");
    case Outcome::Answer:
        return QStringLiteral("answer");
    case Outcome::NoReply:
        break;
    case Outcome::Refused:
        return QStringLiteral("refused");
    }
    return QStringLiteral("no-reply");
}

QString resultText(const ExchangeResult &result)
{
    const QString head = result.name + QStringLiteral(": ");
    if (result.status)
        return head + *result.status; // as the status line shows it, leading blank and all
    switch (result.outcome) {
    case Outcome::Ack:
        return head + QStringLiteral("ACK");
    case Outcome::Refused:
        return head + QStringLiteral("NAK (refused)");
    case Outcome::NoReply:
        return head + QStringLiteral("no reply");
    case Outcome::Answer:
        break;
    }
    return head + result.receivedLine.mid(1); // the rendering's own leading blank dropped
}

QByteArray resultJson(const ExchangeResult &result)
{
    const QJsonObject object{
        {QStringLiteral("name"), result.name},
        {QStringLiteral("sent"), byteArray(result.sent)},
        {QStringLiteral("sent_line"), result.sentLine},
        {QStringLiteral("received"), byteArray(result.received)},
        {QStringLiteral("received_line"), result.receivedLine},
        {QStringLiteral("status"), optionalText(result.status)},
        {QStringLiteral("outcome"), outcomeName(result.outcome)},
        {QStringLiteral("ms"), result.replyMs ? QJsonValue(qRound(*result.replyMs * 10) / 10.0)
                                              : QJsonValue(QJsonValue::Null)},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QString catalogText(const CatalogEntry &entry)
{
    // Name and kind first: single words, so scripts can cut them out.
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(entry.name, -18)
        .arg(entry.kind, -12)
        .arg(QStringLiteral("%1 ms").arg(entry.request.replyTimeoutMs), 7)
        .arg(QString::fromLatin1(entry.code), -26)
        .arg(entry.description);
}

QByteArray catalogJson(const CatalogEntry &entry)
{
    const QJsonObject object{
        {QStringLiteral("name"), entry.name},
        {QStringLiteral("code"), QString::fromLatin1(entry.code)},
        {QStringLiteral("kind"), entry.kind},
        {QStringLiteral("query"), entry.isQuery},
        {QStringLiteral("reply_timeout_ms"), entry.request.replyTimeoutMs},
        {QStringLiteral("description"), entry.description},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

ExitStatus exitStatusFor(const QList<Outcome> &outcomes)
{
    if (outcomes.contains(Outcome::Refused))
        return SomeRefused;
    if (outcomes.contains(Outcome::NoReply))
        return SomeNoReply;
    return AllAnswered;
}
