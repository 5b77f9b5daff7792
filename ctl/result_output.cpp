#include "result_output.h"

#include "command_catalog.h"
#include "projector_readings.h"

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

template <typename T>
QJsonValue orNull(const std::optional<T> &reading, QJsonValue (*toJson)(const T &))
{
    return reading ? toJson(*reading) : QJsonValue(QJsonValue::Null);
}

// A status query's reply read as values; null for the other queries and for unreadable replies.
QJsonValue valueJson(const QByteArray &code, const QByteArray &reply)
{
    if (code == "CR0")
        return orNull<PowerReading>(readPowerStatus(reply), [](const PowerReading &r) {
            return QJsonValue(QJsonObject{{"power", powerPhaseName(r.phase)},
                                          {"power_failure", r.powerFailure},
                                          {"temperature_warning", r.temperatureWarning},
                                          {"lamp_failure", r.lampFailure}});
        });
    if (code == "CR1")
        return orNull<InputChoice>(readInput(reply), [](const InputChoice &input) {
            return QJsonValue(QJsonObject{{"input", inputName(input)}});
        });
    if (code == "CRA")
        return orNull<MuteReading>(readMutes(reply), [](const MuteReading &r) {
            return QJsonValue(QJsonObject{{"projecting", r.projecting},
                                          {"no_signal", r.noSignal},
                                          {"picture_mute", r.picture},
                                          {"sound_mute", r.sound}});
        });
    if (code == "CR3")
        return orNull<int>(readLampHours(reply), [](const int &hours) {
            return QJsonValue(QJsonObject{{"lamp_hours", hours}});
        });
    if (code == "CR7")
        return orNull<bool>(readLampLit(reply), [](const bool &lit) {
            return QJsonValue(QJsonObject{{"lamp_lit", lit}});
        });
    if (code == "CR6")
        return orNull<Temperatures>(readTemperatures(reply), [](const Temperatures &t) {
            return QJsonValue(QJsonObject{{"temperatures", QJsonArray{t[0], t[1], t[2]}}});
        });
    if (code == "CR9")
        return orNull<QString>(readModel(reply), [](const QString &model) {
            return QJsonValue(QJsonObject{{"model", model}});
        });
    return QJsonValue(QJsonValue::Null);
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
    case Outcome::LineLost:
        return QStringLiteral("line-lost");
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
    case Outcome::LineLost:
        return head + QStringLiteral("line lost");
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
        {QStringLiteral("value"), valueJson(result.code, result.received)},
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
    if (outcomes.contains(Outcome::LineLost))
        return PortTrouble;
    if (outcomes.contains(Outcome::Refused))
        return SomeRefused;
    if (outcomes.contains(Outcome::NoReply))
        return SomeNoReply;
    return AllAnswered;
}
