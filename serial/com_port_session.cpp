#include "com_port_session.h"

#include <QtEndian>

using namespace telnet;

namespace {

// The COM-PORT-OPTION's setting commands; the server acknowledges each with code + 100.
enum SettingCode : quint8 {
    SetBaudRate = 1,
    SetDataSize = 2,
    SetParity = 3,
    SetStopSize = 4,
    SetControl = 5,
};
constexpr quint8 ServerCodeOffset = 100;
constexpr quint8 NoFlowControl = 1;

struct SettingRow {
    quint8 code;
    const char *name;
    int width; // bytes of the value on the wire
    qint64 (*valueOf)(const LineSettings &);
    QString (*textOf)(qint64 value);
};

QString numberText(qint64 value)
{
    return QString::number(value);
}

QString nameAt(const std::initializer_list<const char *> names, qint64 value)
{
    if (value >= 1 && value <= qint64(names.size()))
        return QLatin1String(names.begin()[value - 1]);
    return QStringLiteral("code %1").arg(value);
}

const SettingRow SettingRows[] = {
    {SetBaudRate, "speed", 4, [](const LineSettings &s) { return qint64(s.baudRate); }, numberText},
    {SetDataSize, "data bits", 1, [](const LineSettings &s) { return qint64(s.dataBits); },
     numberText},
    {SetParity, "parity", 1,
     [](const LineSettings &s) -> qint64 {
         switch (s.parity) {
         case QSerialPort::OddParity:
             return 2;
         case QSerialPort::EvenParity:
             return 3;
         case QSerialPort::MarkParity:
             return 4;
         case QSerialPort::SpaceParity:
             return 5;
         default:
             return 1;
         }
     },
     [](qint64 v) {
         return nameAt({"none", "odd", "even", "mark", "space"}, v);
     }},
    {SetStopSize, "stop bits", 1,
     [](const LineSettings &s) -> qint64 {
         switch (s.stopBits) {
         case QSerialPort::TwoStop:
             return 2;
         case QSerialPort::OneAndHalfStop:
             return 3;
         default:
             return 1;
         }
     },
     [](qint64 v) {
         return nameAt({"1", "2", "1.5"}, v);
     }},
    {SetControl, "flow control", 1, [](const LineSettings &) { return qint64(NoFlowControl); },
     [](qint64 v) {
         return nameAt({"none", "XON/XOFF", "hardware"}, v);
     }},
};

const SettingRow *rowFor(quint8 code)
{
    for (const SettingRow &row : SettingRows) {
        if (row.code == code)
            return &row;
    }
    return nullptr;
}

// A value followed only by zero bytes is that value: sredird sends the speed in eight bytes, the
// standard's four and four zeros. -1 when it is shorter or anything else follows.
qint64 readValue(const QByteArray &value, int width)
{
    const QByteArray padding = value.mid(width);
    if (value.size() < width || padding.count('\0') != padding.size())
        return -1;
    return width == 4 ? qint64(qFromBigEndian<quint32>(value.constData())) : quint8(value[0]);
}

bool weWant(quint8 option)
{
    return option == Binary || option == SuppressGoAhead || option == ComPort;
}

bool weWantFromServer(quint8 option)
{
    return option == Binary || option == SuppressGoAhead;
}

} // namespace

ComPortSession::ComPortSession(const LineSettings &settings)
    : m_settings(settings)
{
}

QByteArray ComPortSession::begin()
{
    m_ours[Binary].asked = m_theirs[Binary].asked = m_ours[ComPort].asked = true;
    return negotiation(Will, Binary) + negotiation(Do, Binary) + negotiation(Will, ComPort);
}

ComPortSession::Step ComPortSession::receive(const QByteArray &bytes)
{
    Step step;
    QList<Event> events;
    m_decoder.feed(bytes, &step.data, &events);
    for (const Event &event : events) {
        if (event.verb == SB) {
            if (event.option == ComPort)
                takeAcknowledgement(event.payload);
        } else {
            negotiate(event, step.reply);
        }
    }
    updateState();
    return step;
}

QByteArray ComPortSession::changeSettings(const LineSettings &settings)
{
    m_settings = settings;
    if (!m_ours[ComPort].enabled || m_state == State::Failed)
        return QByteArray();
    QByteArray requests = requestsFor(settings);
    updateState();
    return requests;
}

QByteArray ComPortSession::encode(const QByteArray &data) const
{
    return escapeData(data, m_ours[Binary].enabled);
}

// Each side's state per option, so that a request crossing the other side's own offer is taken
// as its acknowledgement and nothing is answered twice (no negotiation loops, RFC 854).
void ComPortSession::negotiate(const Event &event, QByteArray &reply)
{
    const quint8 option = event.option;
    const bool ours = event.verb == Do || event.verb == Dont;
    OptionState &state = ours ? m_ours[option] : m_theirs[option];
    const bool wanted = ours ? weWant(option) : weWantFromServer(option);
    const bool enable = event.verb == Do || event.verb == Will;
    const quint8 yes = ours ? Will : Do;
    const quint8 no = ours ? Wont : Dont;

    if (option == ComPort && ours)
        m_comPortAnswered = true;
    if (enable && !wanted) {
        reply += negotiation(no, option);
    } else if (enable && !state.enabled) {
        state.enabled = true;
        if (!state.asked)
            reply += negotiation(yes, option);
        if (ours && option == ComPort)
            reply += requestsFor(m_settings);
    } else if (!enable && (state.enabled || state.asked)) {
        if (!state.asked)
            reply += negotiation(no, option);
        state.enabled = false;
        if (ours && option == ComPort)
            fail(Failure::NoComPortOption, QStringLiteral("the server refused the serial port "
                                                          "option"));
    }
    state.asked = false;
    if (option == Binary)
        m_decoder.setDropNulAfterCr(!m_theirs[Binary].enabled);
}

QByteArray ComPortSession::requestsFor(const LineSettings &settings)
{
    QByteArray requests;
    for (const SettingRow &row : SettingRows) {
        const qint64 value = row.valueOf(settings);
        QByteArray payload(1, char(row.code));
        if (row.width == 4) {
            char bytes[4];
            qToBigEndian(quint32(value), bytes);
            payload.append(bytes, 4);
        } else {
            payload += char(value);
        }
        requests += subnegotiation(ComPort, payload);
        m_pending.push_back({row.code, value});
    }
    return requests;
}

void ComPortSession::takeAcknowledgement(const QByteArray &payload)
{
    if (payload.isEmpty() || quint8(payload[0]) <= ServerCodeOffset)
        return;
    const quint8 code = quint8(payload[0]) - ServerCodeOffset;
    const SettingRow *row = rowFor(code);
    if (!row)
        return; // line and modem state notices: nothing the panel shows
    const auto pending = std::find_if(m_pending.begin(), m_pending.end(),
                                      [code](const Pending &p) { return p.code == code; });
    if (pending == m_pending.end())
        return; // not asked for by this side
    const qint64 asked = pending->value;
    m_pending.erase(pending);

    const qint64 set = readValue(payload.mid(1), row->width);
    if (set == asked)
        return;
    const QString name = QLatin1String(row->name);
    if (set < 0)
        fail(Failure::SettingRefused,
             QStringLiteral("the server answered the %1 %2 with an unreadable value")
                 .arg(name, row->textOf(asked)));
    else
        fail(Failure::SettingRefused, QStringLiteral("the server set the %1 to %2 instead of %3")
                                          .arg(name, row->textOf(set), row->textOf(asked)));
}

void ComPortSession::fail(Failure failure, const QString &refusal)
{
    if (m_state == State::Failed)
        return;
    m_state = State::Failed;
    m_failure = failure;
    m_refusal = refusal;
}

void ComPortSession::updateState()
{
    if (m_state != State::Failed)
        m_state = m_ours[ComPort].enabled && m_pending.empty() ? State::Ready : State::Negotiating;
}
