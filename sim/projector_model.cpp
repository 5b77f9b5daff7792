#include "projector_model.h"

#include <algorithm>

namespace {

constexpr qint64 kMsPerHour = 3600 * 1000;

void step(int &level, int delta, int low, int high)
{
    level = std::clamp(level + delta, low, high);
}

using Mutation = void (*)(ProjectorState &);

struct ControlCommand {
    QByteArrayView code;
    Mutation apply; // nullptr: acknowledged, nothing to remember
};

// Every control code the panel sends apart from power on and off, which need the clock.
const ControlCommand kControls[] = {
    {"C02", nullptr},
    {"C05", [](ProjectorState &s) { s.input = InputSource::Computer1; }},
    {"C06", [](ProjectorState &s) { s.input = InputSource::Computer2; }},
    {"C07", [](ProjectorState &s) { s.input = InputSource::Video; }},
    {"C50", [](ProjectorState &s) { s.input = InputSource::Computer1; }}, // RGB
    {"C51", [](ProjectorState &s) { s.input = InputSource::Computer1; }}, // Scart
    {"C54", [](ProjectorState &s) { s.input = InputSource::Computer1; }}, // Component
    {"CF INPUT COMPUTER1 S-VIDEO", [](ProjectorState &s) { s.input = InputSource::Computer1; }},
    {"CF INPUT COMPUTER2 ANALOG", [](ProjectorState &s) { s.input = InputSource::Computer2; }},
    {"CF INPUT VIDEO VIDEO", [](ProjectorState &s) { s.input = InputSource::Video; }},
    {"C09", [](ProjectorState &s) { step(s.volume, +1, 0, 40); }},
    {"C0A", [](ProjectorState &s) { step(s.volume, -1, 0, 40); }},
    {"C0B", [](ProjectorState &s) { s.soundMute = true; }},
    {"C0C", [](ProjectorState &s) { s.soundMute = false; }},
    {"C0D", [](ProjectorState &s) { s.noShow = true; }},
    {"C0E", [](ProjectorState &s) { s.noShow = false; }},
    {"C0F", [](ProjectorState &s) { s.fullScreen = false; }},
    {"C10", [](ProjectorState &s) { s.fullScreen = true; }},
    {"C11", [](ProjectorState &s) { s.imageMode = 1; }},
    {"C12", [](ProjectorState &s) { s.imageMode = 2; }},
    {"C13", [](ProjectorState &s) { s.imageMode = 3; }},
    {"C14", [](ProjectorState &s) { s.imageMode = 4; }},
    {"C15", [](ProjectorState &s) { s.imageMode = 5; }},
    {"C16", [](ProjectorState &s) { s.imageMode = 6; }},
    {"C17", [](ProjectorState &s) { s.imageMode = 7; }},
    {"C18", [](ProjectorState &s) { s.imageMode = 8; }},
    {"C19", [](ProjectorState &s) { s.imageMode = 9; }},
    {"C1C",
     [](ProjectorState &s) {
         s.menuOpen = true;
         s.menuRow = 0;
     }},
    {"C1D", [](ProjectorState &s) { s.menuOpen = false; }},
    {"C1E", nullptr}, // display clear
    {"C20", [](ProjectorState &s) { step(s.brightness, +1, -31, 31); }},
    {"C21", [](ProjectorState &s) { step(s.brightness, -1, -31, 31); }},
    {"C27", nullptr}, // image
    {"C30", [](ProjectorState &s) { step(s.digitalZoom, +1, 0, 40); }},
    {"C31", [](ProjectorState &s) { step(s.digitalZoom, -1, 0, 40); }},
    {"C3A", nullptr}, // right
    {"C3B", nullptr}, // left
    {"C3C",
     [](ProjectorState &s) {
         if (s.menuOpen)
             step(s.menuRow, -1, 0, 9);
     }},
    {"C3D",
     [](ProjectorState &s) {
         if (s.menuOpen)
             step(s.menuRow, +1, 0, 9);
     }},
    {"C3E", nullptr},
    {"C3F", nullptr}, // select
    {"C43", [](ProjectorState &s) { s.freeze = true; }},
    {"C44", [](ProjectorState &s) { s.freeze = false; }},
    {"C89", nullptr}, // automatic image adjustment
    {"C8A", nullptr}, // presentation timer
    {"C8E", [](ProjectorState &s) { step(s.keystone, +1, -40, 40); }},
    {"C8F", [](ProjectorState &s) { step(s.keystone, -1, -40, 40); }},
    {"CF FANMODE L1", [](ProjectorState &s) { s.fanMode = 1; }},
    {"CF FANMODE L2", [](ProjectorState &s) { s.fanMode = 2; }},
};

QByteArray powerCode(const ProjectorModel &model)
{
    switch (model.state().power) {
    case PowerState::On:
        return "00";
    case PowerState::Standby:
        return "80";
    case PowerState::CountDown:
        return "40";
    case PowerState::Cooling:
        return "20";
    }
    return "80";
}

QByteArray muteCode(const ProjectorModel &model)
{
    const ProjectorState &s = model.state();
    if (s.power != PowerState::On)
        return "FF";
    if (!model.signalPresent())
        return "80";
    return QByteArray("0").append(char('0' + (s.noShow ? 1 : 0) + (s.soundMute ? 2 : 0)));
}

// Readings 1 and 3 are five characters wide, reading 2 four ("41.0"): the panel shows
// reply characters 1-5, 8-11 and 13-17, so the blank at 6, the hundreds digit of reading 2
// at 7 and the blank at 12 stay out of view.
QByteArray temperatures(const ProjectorModel &model)
{
    const PowerState power = model.state().power;
    const bool hot = power == PowerState::On || power == PowerState::Cooling;
    return hot ? "038.5 041.0 029.5" : "025.0 025.5 024.5";
}

using QueryAnswer = QByteArray (*)(const ProjectorModel &);

struct Query {
    QByteArrayView code;
    QueryAnswer answer; // the reply without its carriage return
};

const Query kQueries[] = {
    {"CR0", powerCode},
    {"CR1",
     [](const ProjectorModel &m) { return QByteArray::number(int(m.state().input)); }},
    {"CR3",
     [](const ProjectorModel &m) {
         return QByteArray::number(m.lampHours()).rightJustified(5, '0');
     }},
    {"CR4", [](const ProjectorModel &) { return QByteArray("11"); }}, // not mirrored
    {"CR6", temperatures},
    {"CR7", [](const ProjectorModel &m) { return QByteArray(m.lampLit() ? "01" : "00"); }},
    {"CR9", [](const ProjectorModel &) { return QByteArray("ZRA70_20"); }},
    {"CRA", muteCode},
    {"CR PRESSURE",
     [](const ProjectorModel &) { return QByteArray::number(ProjectorModel::kPressureReading); }},
};

} // namespace

ProjectorModel::ProjectorModel(qint64 startMs)
    : m_nowMs(startMs)
{
}

QList<Exchange> ProjectorModel::feed(QByteArrayView bytes, qint64 nowMs)
{
    QList<Exchange> exchanges;
    for (QByteArray &command : m_framer.feed(bytes)) {
        QByteArray reply = execute(command, nowMs);
        exchanges.append({std::move(command), std::move(reply)});
    }
    return exchanges;
}

QByteArray ProjectorModel::execute(const QByteArray &command, qint64 nowMs)
{
    advanceTo(nowMs);
    if (command == "C00") {
        powerOn();
        return QByteArray(1, kAck);
    }
    if (command == "C01") {
        powerOff();
        return QByteArray(1, kAck);
    }
    if (applyControl(command))
        return QByteArray(1, kAck);
    QByteArray reply = queryReply(command);
    if (!reply.isNull())
        return reply;
    return QByteArray(1, kNak);
}

void ProjectorModel::advanceTo(qint64 nowMs)
{
    if (nowMs <= m_nowMs)
        return;
    // The count-down and on phases both light the lamp, so the lit time needs no split at
    // the moment the count-down ends.
    if (lampLit())
        m_lampLitMs += nowMs - m_nowMs;
    if (m_state.power == PowerState::CountDown && nowMs >= m_phaseStartMs + kCountDownMs)
        m_state.power = PowerState::On;
    if (m_state.power == PowerState::Cooling && nowMs >= m_phaseStartMs + kCoolingMs)
        m_state.power = PowerState::Standby;
    m_nowMs = nowMs;
}

qint64 ProjectorModel::lampHours() const
{
    return kInitialLampHours + m_lampLitMs / kMsPerHour;
}

bool ProjectorModel::lampLit() const
{
    return m_state.power == PowerState::CountDown || m_state.power == PowerState::On;
}

// Nothing is plugged into the video jack, so the mute query can also report "no signal".
bool ProjectorModel::signalPresent() const
{
    return m_state.input != InputSource::Video;
}

bool ProjectorModel::applyControl(const QByteArray &command)
{
    for (const ControlCommand &control : kControls) {
        if (control.code == command) {
            if (control.apply)
                control.apply(m_state);
            return true;
        }
    }
    return false;
}

QByteArray ProjectorModel::queryReply(const QByteArray &command) const
{
    for (const Query &query : kQueries) {
        if (query.code == command)
            return query.answer(*this).append('\r');
    }
    return {};
}

// A projector that is counting down or cooling ignores further power commands.
void ProjectorModel::powerOn()
{
    if (m_state.power != PowerState::Standby)
        return;
    m_state.power = PowerState::CountDown;
    m_phaseStartMs = m_nowMs;
}

void ProjectorModel::powerOff()
{
    if (m_state.power != PowerState::On && m_state.power != PowerState::CountDown)
        return;
    m_state.power = PowerState::Cooling;
    m_phaseStartMs = m_nowMs;
}
