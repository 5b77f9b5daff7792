#include "projector_model.h"

#include <algorithm>

namespace {

constexpr qint64 kMsPerHour = 3600 * 1000;

void step(int &level, int delta, int low, int high)
{
    level = std::clamp(level + delta, low, high);
}

// What a control command does to the state; `value` in the table below says how.
enum class Effect {
    None, // acknowledged, nothing to remember
    Input,
    SoundMute,
    NoShow,
    Freeze,
    FullScreen,
    ImageMode,
    Volume, // the adjusters step by `value`
    Brightness,
    DigitalZoom,
    Keystone,
    Menu,
    MenuRow,
    FanMode,
};

struct ControlCommand {
    QByteArrayView code;
    Effect effect;
    int value;
};

// Every control code the panel sends apart from power on and off, which need the clock.
const ControlCommand kControls[] = {
    {"C02", Effect::None, 0},
    {"C05", Effect::Input, int(InputSource::Computer1)},
    {"C06", Effect::Input, int(InputSource::Computer2)},
    {"C07", Effect::Input, int(InputSource::Video)},
    {"C50", Effect::Input, int(InputSource::Computer1)}, // RGB
    {"C51", Effect::Input, int(InputSource::Computer1)}, // Scart
    {"C54", Effect::Input, int(InputSource::Computer1)}, // Component
    {"CF INPUT COMPUTER1 S-VIDEO", Effect::Input, int(InputSource::Computer1)},
    {"CF INPUT COMPUTER2 ANALOG", Effect::Input, int(InputSource::Computer2)},
    {"CF INPUT VIDEO VIDEO", Effect::Input, int(InputSource::Video)},
    {"C09", Effect::Volume, +1},
    {"C0A", Effect::Volume, -1},
    {"C0B", Effect::SoundMute, 1},
    {"C0C", Effect::SoundMute, 0},
    {"C0D", Effect::NoShow, 1},
    {"C0E", Effect::NoShow, 0},
    {"C0F", Effect::FullScreen, 0},
    {"C10", Effect::FullScreen, 1},
    {"C11", Effect::ImageMode, 1},
    {"C12", Effect::ImageMode, 2},
    {"C13", Effect::ImageMode, 3},
    {"C14", Effect::ImageMode, 4},
    {"C15", Effect::ImageMode, 5},
    {"C16", Effect::ImageMode, 6},
    {"C17", Effect::ImageMode, 7},
    {"C18", Effect::ImageMode, 8},
    {"C19", Effect::ImageMode, 9},
    {"C1C", Effect::Menu, 1},
    {"C1D", Effect::Menu, 0},
    {"C1E", Effect::None, 0}, // display clear
    {"C20", Effect::Brightness, +1},
    {"C21", Effect::Brightness, -1},
    {"C27", Effect::None, 0}, // image
    {"C30", Effect::DigitalZoom, +1},
    {"C31", Effect::DigitalZoom, -1},
    {"C3A", Effect::None, 0}, // right
    {"C3B", Effect::None, 0}, // left
    {"C3C", Effect::MenuRow, -1},
    {"C3D", Effect::MenuRow, +1},
    {"C3E", Effect::None, 0},
    {"C3F", Effect::None, 0}, // select
    {"C43", Effect::Freeze, 1},
    {"C44", Effect::Freeze, 0},
    {"C89", Effect::None, 0}, // automatic image adjustment
    {"C8A", Effect::None, 0}, // presentation timer
    {"C8E", Effect::Keystone, +1},
    {"C8F", Effect::Keystone, -1},
    {"CF FANMODE L1", Effect::FanMode, 1},
    {"CF FANMODE L2", Effect::FanMode, 2},
};

void apply(SimulatedState &s, Effect effect, int value)
{
    switch (effect) {
    case Effect::None:
        break;
    case Effect::Input:
        s.input = InputSource(value);
        break;
    case Effect::SoundMute:
        s.soundMute = value != 0;
        break;
    case Effect::NoShow:
        s.noShow = value != 0;
        break;
    case Effect::Freeze:
        s.freeze = value != 0;
        break;
    case Effect::FullScreen:
        s.fullScreen = value != 0;
        break;
    case Effect::ImageMode:
        s.imageMode = value;
        break;
    case Effect::Volume:
        step(s.volume, value, 0, 40);
        break;
    case Effect::Brightness:
        step(s.brightness, value, -31, 31);
        break;
    case Effect::DigitalZoom:
        step(s.digitalZoom, value, 0, 40);
        break;
    case Effect::Keystone:
        step(s.keystone, value, -40, 40);
        break;
    case Effect::Menu:
        s.menuOpen = value != 0;
        s.menuRow = 0;
        break;
    case Effect::MenuRow:
        if (s.menuOpen)
            step(s.menuRow, value, 0, 9);
        break;
    case Effect::FanMode:
        s.fanMode = value;
        break;
    }
}

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
    const SimulatedState &s = model.state();
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

QByteArray inputCode(const ProjectorModel &model)
{
    return QByteArray::number(int(model.state().input));
}

QByteArray lampHoursText(const ProjectorModel &model)
{
    return QByteArray::number(model.lampHours()).rightJustified(5, '0');
}

// The image is never mirrored.
QByteArray orientationCode(const ProjectorModel &)
{
    return "11";
}

QByteArray lampCode(const ProjectorModel &model)
{
    return model.lampLit() ? "01" : "00";
}

QByteArray identification(const ProjectorModel &)
{
    return "ZRA70_20";
}

QByteArray pressureReading(const ProjectorModel &)
{
    return QByteArray::number(ProjectorModel::kPressureReading);
}

const Query kQueries[] = {
    {"CR0", powerCode},       {"CR1", inputCode},    {"CR3", lampHoursText},
    {"CR4", orientationCode}, {"CR6", temperatures}, {"CR7", lampCode},
    {"CR9", identification},  {"CRA", muteCode},     {"CR PRESSURE", pressureReading},
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
            apply(m_state, control.effect, control.value);
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
