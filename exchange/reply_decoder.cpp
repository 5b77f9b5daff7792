#include "reply_decoder.h"

#include "number_reader.h"
#include "pressure.h"
#include "reply_tables.h"

#include <QLatin1StringView>

#include <array>
#include <span>
#include <string_view>

namespace {

enum class ReplyForm { Keyed, LampTime, Temperatures, Echo, Pressure };

struct StatusQuery {
    std::string_view code;
    ReplyForm form;
    std::span<const KeyedStatus> codes = {};
};

// Tried in this order; at most one can match since the comparison is exact.
constexpr std::array<StatusQuery, 9> StatusQueries{{
    {"CR0", ReplyForm::Keyed, PowerStatusCodes},
    {"CR1", ReplyForm::Keyed, InputModeCodes},
    {"CR4", ReplyForm::Keyed, OrientationCodes},
    {"CR3", ReplyForm::LampTime},
    {"CR6", ReplyForm::Temperatures},
    {"CRA", ReplyForm::Keyed, MuteCodes},
    {"CR9", ReplyForm::Echo},
    {"CR PRESSURE", ReplyForm::Pressure},
    {"CR7", ReplyForm::Keyed, LampModeCodes},
}};

QLatin1StringView latin1(std::string_view text)
{
    return QLatin1StringView(text.data(), qsizetype(text.size()));
}

// Exact and case-sensitive: the prefix, the query and one carriage return, nothing else.
bool sentQuery(QByteArrayView sendText, QByteArrayView cmdPrefix, std::string_view query)
{
    const QByteArrayView code(query.data(), qsizetype(query.size()));
    return sendText.size() == cmdPrefix.size() + code.size() + 1 &&
           sendText.first(cmdPrefix.size()) == cmdPrefix &&
           sendText.sliced(cmdPrefix.size(), code.size()) == code && sendText.back() == '\r';
}

// Characters first to last of the rendered reply, counted from 1; as many as there are.
QStringView positions(QStringView rendered, qsizetype first, qsizetype last)
{
    return rendered.mid(first - 1, last - first + 1);
}

std::optional<QString> lookUp(std::span<const KeyedStatus> codes, QStringView rendered)
{
    // All keys of one table have the same length: the rendering of one or two characters.
    const QStringView key = rendered.left(qsizetype(codes.front().key.size()));
    for (const KeyedStatus &row : codes) {
        if (key == latin1(row.key))
            return QString(latin1(row.status));
    }
    return std::nullopt;
}

QString lampTime(QStringView rendered)
{
    return rendered.left(38).toString() + QLatin1StringView(" Hour Use");
}

// Three sensors; the reply characters between the pieces are not shown.
QString temperatures(QStringView rendered)
{
    QString line = QLatin1StringView("  S1=");
    line += positions(rendered, 1, 10);
    line += QLatin1StringView(" C  ,   S2= ");
    line += positions(rendered, 15, 22);
    line += QLatin1StringView(" C , S3=");
    line += positions(rendered, 25, 34);
    line += QLatin1StringView(" C");
    return line;
}

std::optional<QString> decode(ReplyForm form, std::span<const KeyedStatus> codes,
                              const QString &rendered)
{
    switch (form) {
    case ReplyForm::Keyed:
        return lookUp(codes, rendered);
    case ReplyForm::LampTime:
        return lampTime(rendered);
    case ReplyForm::Temperatures:
        return temperatures(rendered);
    case ReplyForm::Echo:
        return rendered;
    case ReplyForm::Pressure:
        return pressureStatusText(readNumber(rendered));
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> decodeReply(QByteArrayView sendText, QByteArrayView cmdPrefix,
                                   const QString &rendered)
{
    for (const StatusQuery &query : StatusQueries) {
        if (sentQuery(sendText, cmdPrefix, query.code))
            return decode(query.form, query.codes, rendered);
    }
    return std::nullopt;
}
