#pragma once

#include <QByteArrayView>
#include <QString>

#include <array>
#include <optional>
#include <span>

// The projector's replies to its status queries read as values, one function per reply. Each
// takes the reply's bytes as they came (a final carriage return is allowed) and gives nothing
// for a reply that is not of its form, so noise on the line never becomes a state.

enum class PowerPhase { Standby, WarmingUp, On, CoolingDown };
enum class InputChoice { Pc1, Pc2, Video };

// "CR0": two hexadecimal digits of status bits.
struct PowerReading {
    PowerPhase phase = PowerPhase::Standby;
    bool powerFailure = false;
    bool temperatureWarning = false;
    bool lampFailure = false;
    friend bool operator==(const PowerReading &, const PowerReading &) = default;
};

// "CRA": FF while the projector does not project, 80 with no signal on the input, else the
// mute bits (1 no-show, 2 sound mute).
struct MuteReading {
    bool projecting = false;
    bool noSignal = false;
    bool picture = false;
    bool sound = false;
    friend bool operator==(const MuteReading &, const MuteReading &) = default;
};

using Temperatures = std::array<double, 3>; // degrees Celsius, as "CR6" lists them

std::optional<PowerReading> readPowerStatus(QByteArrayView reply);  // "CR0"
std::optional<InputChoice> readInput(QByteArrayView reply);         // "CR1"
std::optional<MuteReading> readMutes(QByteArrayView reply);         // "CRA"
std::optional<int> readLampHours(QByteArrayView reply);             // "CR3"
std::optional<bool> readLampLit(QByteArrayView reply);              // "CR7"
std::optional<Temperatures> readTemperatures(QByteArrayView reply); // "CR6"
std::optional<QString> readModel(QByteArrayView reply);             // "CR9"

// Names for people and programs: "standby", "warming", "on", "cooling"; "PC1", "PC2", "Video".
QString powerPhaseName(PowerPhase phase);
QString inputName(InputChoice input);

// What is known of the projector; a field is empty until read, and again when its reading
// fails.
struct ProjectorState {
    std::optional<PowerReading> power;
    std::optional<InputChoice> input;
    std::optional<MuteReading> mutes;
    std::optional<int> lampHours;
    std::optional<bool> lampLit;
    std::optional<Temperatures> temperatures;
    std::optional<QString> model;
    friend bool operator==(const ProjectorState &, const ProjectorState &) = default;
};

// The state queries, in the order a full reading asks them, with what each reply sets.
struct StateQuery {
    const char *code;
    // Sets the query's field from the reply (empty when the reply is unreadable or absent).
    void (*take)(ProjectorState &state, QByteArrayView reply);
    bool (*isKnown)(const ProjectorState &state);
};
std::span<const StateQuery> stateQueries();
const StateQuery *findStateQuery(QByteArrayView code);
