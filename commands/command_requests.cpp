#include "command_requests.h"

Request requestFor(const CommandButton &row)
{
    Request request{QLatin1String(row.cliName), QByteArray(row.code), ReplyTimeoutStartMs,
                    DisplayClearStartMs};
    if (const ReplyTiming *timing = replyTimingOf(row.timing)) {
        request.replyTimeoutMs = timing->replyTimeoutMs;
        request.displayClearMs = timing->displayClearMs;
    }
    return request;
}

Request requestFor(const Adjuster &row)
{
    if (row.isArrow())
        return {QLatin1String(row.cliName), QByteArray(row.code), ReplyTimeoutStartMs,
                DisplayClearStartMs};
    return {QLatin1String(row.cliName), QByteArray(row.code), row.replyTimeoutMs,
            row.displayClearMs};
}

Request requestForCode(QByteArrayView code)
{
    for (const CommandButton &row : commandVocabulary()) {
        if (code == QByteArrayView(row.code))
            return requestFor(row);
    }
    for (const Adjuster &row : adjusters()) {
        if (code == QByteArrayView(row.code))
            return requestFor(row);
    }
    return typedRequest(QStringLiteral("raw"), code.toByteArray());
}

Request typedRequest(const QString &name, const QByteArray &text)
{
    const ReplyTiming *typed = replyTimingOf(TimingKind::LongReply);
    return {name, text, typed->replyTimeoutMs, typed->displayClearMs};
}
