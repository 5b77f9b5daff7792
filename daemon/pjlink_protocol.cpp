#include "pjlink_protocol.h"

namespace pjlink {
namespace {

// The maker's name as the control window's title writes it.
constexpr char Maker[] = "TAVO";

// The longest value of each information query.
constexpr qsizetype MaxNameLength = 64;
constexpr qsizetype MaxInfoLength = 32;

// At most `most` bytes, cut before a UTF-8 character that would not fit whole.
QByteArray cut(QByteArray text, qsizetype most)
{
    if (text.size() <= most)
        return text;
    qsizetype end = most;
    while (end > 0 && (quint8(text.at(end)) & 0xC0) == 0x80)
        --end;
    text.truncate(end);
    return text;
}

// The row's own value, when the state shows it holds.
template <auto Holds>
std::optional<QByteArray> valueWhen(const Row &row, const ProjectorState &state, const Identity &)
{
    if (!Holds(state))
        return std::nullopt;
    return QByteArray(row.value);
}

template <PowerPhase Phase> bool phaseIs(const ProjectorState &state)
{
    return state.power && state.power->phase == Phase;
}

template <InputChoice Input> bool inputIs(const ProjectorState &state)
{
    return state.input == Input;
}

template <bool Picture, bool Sound> bool mutesAre(const ProjectorState &state)
{
    return state.mutes && state.mutes->projecting && !state.mutes->noSignal &&
           state.mutes->picture == Picture && state.mutes->sound == Sound;
}

template <PowerPhase Phase> constexpr auto whenPhase = valueWhen<phaseIs<Phase>>;
template <InputChoice Input> constexpr auto whenInput = valueWhen<inputIs<Input>>;
template <bool Picture, bool Sound> constexpr auto whenMuted = valueWhen<mutesAre<Picture, Sound>>;

std::optional<QByteArray> inputList(const Row &, const ProjectorState &, const Identity &);

std::optional<QByteArray> lamp(const Row &, const ProjectorState &state, const Identity &)
{
    if (!state.lampHours || !state.lampLit)
        return std::nullopt;
    return QByteArray::number(*state.lampHours) + (*state.lampLit ? " 1" : " 0");
}

// Fan, lamp, temperature, cover, filter, other: 0 no error, 1 a warning, 2 an error. The
// projector reports a lamp failure, a temperature warning and a power failure; of the fan,
// the cover and the filter it tells nothing.
std::optional<QByteArray> errorStatus(const Row &, const ProjectorState &state, const Identity &)
{
    if (!state.power)
        return std::nullopt;
    const PowerReading &power = *state.power;
    QByteArray digits = "000000";
    digits[1] = power.lampFailure ? '2' : '0';
    digits[2] = power.temperatureWarning ? '1' : '0';
    digits[5] = power.powerFailure ? '2' : '0';
    return digits;
}

std::optional<QByteArray> name(const Row &, const ProjectorState &, const Identity &identity)
{
    return cut(identity.name, MaxNameLength);
}

std::optional<QByteArray> maker(const Row &, const ProjectorState &, const Identity &)
{
    return QByteArray(Maker);
}

std::optional<QByteArray> model(const Row &, const ProjectorState &state, const Identity &)
{
    if (!state.model)
        return std::nullopt;
    return cut(state.model->toLatin1(), MaxInfoLength);
}

std::optional<QByteArray> version(const Row &, const ProjectorState &, const Identity &identity)
{
    return cut(identity.version, MaxInfoLength);
}

std::optional<QByteArray> classNumber(const Row &, const ProjectorState &, const Identity &)
{
    return QByteArray("1");
}

using enum PowerPhase;
using enum InputChoice;

// The whole mapping. A query is answered with the value of the first of its body's rows whose
// answer holds; a set sends its row's commands. Rows of one body stay together.
// clang-format off
constexpr Row Rows[] = {
    // body  value    reads           commands        answer to "?"              need
    {"POWR", "0",     {"CR0"},        {"C01"},        whenPhase<Standby>,        Need::Steady},
    {"POWR", "1",     {"CR0"},        {"C00"},        whenPhase<On>,             Need::Steady},
    {"POWR", "2",     {"CR0"},        {},             whenPhase<CoolingDown>},
    {"POWR", "3",     {"CR0"},        {},             whenPhase<WarmingUp>},
    {"INPT", "11",    {"CR1"},        {"C05"},        whenInput<Pc1>},
    {"INPT", "12",    {"CR1"},        {"C06"},        whenInput<Pc2>},
    {"INPT", "21",    {"CR1"},        {"C07"},        whenInput<Video>},
    {"INST", nullptr, {},             {},             inputList},
    {"AVMT", "10",    {"CRA"},        {"C0E"},        nullptr,                   Need::On},
    {"AVMT", "11",    {"CRA"},        {"C0D"},        whenMuted<true, false>,    Need::On},
    {"AVMT", "20",    {"CRA"},        {"C0C"},        nullptr,                   Need::On},
    {"AVMT", "21",    {"CRA"},        {"C0B"},        whenMuted<false, true>,    Need::On},
    {"AVMT", "30",    {"CRA"},        {"C0E", "C0C"}, whenMuted<false, false>,   Need::On},
    {"AVMT", "31",    {"CRA"},        {"C0D", "C0B"}, whenMuted<true, true>,     Need::On},
    {"ERST", nullptr, {"CR0"},        {},             errorStatus},
    {"LAMP", nullptr, {"CR3", "CR7"}, {},             lamp},
    {"NAME", nullptr, {},             {},             name},
    {"INF1", nullptr, {},             {},             maker},
    {"INF2", nullptr, {"CR9"},        {},             model},
    {"INFO", nullptr, {},             {},             version},
    {"CLSS", nullptr, {},             {},             classNumber},
};
// clang-format on

// The inputs a client can select: the values INPT sets.
std::optional<QByteArray> inputList(const Row &, const ProjectorState &, const Identity &)
{
    QByteArrayList values;
    for (const Row &row : Rows) {
        if (QByteArrayView(row.body) == "INPT" && row.commands[0])
            values.append(row.value);
    }
    return values.join(' ');
}

std::span<const Row> rowsOf(QByteArrayView body)
{
    const Row *first = std::find_if(std::begin(Rows), std::end(Rows),
                                    [&](const Row &row) { return body == row.body; });
    const Row *last =
        std::find_if(first, std::end(Rows), [&](const Row &row) { return body != row.body; });
    return {first, last};
}

bool isPrintable(char c)
{
    return c > ' ' && c <= '~';
}

std::optional<Error> unavailable(Need need, const ProjectorState &state)
{
    if (need == Need::Any)
        return std::nullopt;
    if (!state.power)
        return Error::ProjectorFailure;
    const PowerPhase phase = state.power->phase;
    if (need == Need::On ? phase != On : phase == WarmingUp || phase == CoolingDown)
        return Error::UnavailableTime;
    return std::nullopt;
}

Need queryNeed(std::span<const Row> bodyRows)
{
    const bool on = std::any_of(bodyRows.begin(), bodyRows.end(),
                                [](const Row &row) { return row.need == Need::On; });
    return on ? Need::On : Need::Any;
}

} // namespace

std::span<const Row> rows()
{
    return Rows;
}

std::optional<Request> readLine(QByteArrayView line)
{
    if (line.size() < 6 || line.front() != '%' ||
        !std::all_of(line.begin() + 1, line.begin() + 6, isPrintable))
        return std::nullopt;
    Request request{line.first(6).toByteArray().toUpper(), {}, nullptr, std::nullopt};
    if (request.header.at(1) == '1')
        request.bodyRows = rowsOf(request.header.mid(2));
    if (request.bodyRows.empty()) {
        request.error = Error::UndefinedCommand;
        return request;
    }
    if (line.size() < 8 || line.size() > MaxCommandLength || line.at(6) != ' ') {
        request.error = Error::BadParameter;
        return request;
    }
    const QByteArray parameter = line.sliced(7).toByteArray().toUpper();
    if (parameter == "?")
        return request;
    for (const Row &row : request.bodyRows) {
        if (row.commands[0] && parameter == row.value) {
            request.set = &row;
            return request;
        }
    }
    request.error = Error::BadParameter;
    return request;
}

QByteArrayList statusReads(const Request &request)
{
    QByteArrayList reads;
    const auto add = [&reads](const char *code) {
        if (code && !reads.contains(code))
            reads.append(code);
    };
    if (request.error)
        return reads;
    if (request.set) {
        if (request.set->need != Need::Any)
            add("CR0");
        return reads;
    }
    if (queryNeed(request.bodyRows) != Need::Any)
        add("CR0");
    for (const Row &row : request.bodyRows) {
        for (const char *code : row.reads)
            add(code);
    }
    return reads;
}

Step step(const Request &request, const ProjectorState &state, const Identity &identity)
{
    if (request.error)
        return errorReply(request.header, *request.error);
    if (request.set) {
        if (const auto error = unavailable(request.set->need, state))
            return errorReply(request.header, *error);
        QByteArrayList commands;
        for (const char *code : request.set->commands) {
            if (code)
                commands.append(code);
        }
        return commands;
    }
    if (const auto error = unavailable(queryNeed(request.bodyRows), state))
        return errorReply(request.header, *error);
    for (const Row &row : request.bodyRows) {
        if (!row.answer)
            continue;
        if (const auto value = row.answer(row, state, identity))
            return reply(request.header, *value);
    }
    // Read, but telling none of the values (the mutes while there is no signal): not now.
    const QByteArrayList reads = statusReads(request);
    const bool read = std::all_of(reads.begin(), reads.end(), [&state](const QByteArray &code) {
        return findStateQuery(code)->isKnown(state);
    });
    return errorReply(request.header, read ? Error::UnavailableTime : Error::ProjectorFailure);
}

QByteArray commandReply(const QByteArray &header, Outcome firstNotAcknowledged)
{
    switch (firstNotAcknowledged) {
    case Outcome::Ack:
        return reply(header, "OK");
    case Outcome::Refused:
        return errorReply(header, Error::BadParameter);
    case Outcome::Answer:
    case Outcome::NoReply:
    case Outcome::LineLost:
        break;
    }
    return errorReply(header, Error::ProjectorFailure);
}

QByteArray reply(const QByteArray &header, QByteArrayView value)
{
    QByteArray text = header;
    text.append('=').append(value.first(std::min(value.size(), MaxReplyLength - 7))).append('\r');
    return text;
}

QByteArray errorReply(const QByteArray &header, Error error)
{
    switch (error) {
    case Error::UndefinedCommand:
        return reply(header, "ERR1");
    case Error::BadParameter:
        return reply(header, "ERR2");
    case Error::UnavailableTime:
        return reply(header, "ERR3");
    case Error::ProjectorFailure:
        break;
    }
    return reply(header, "ERR4");
}

} // namespace pjlink
