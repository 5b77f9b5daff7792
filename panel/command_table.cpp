#include "command_table.h"

#include <array>

namespace {

using enum TimingKind;

constexpr std::array commandTable{
    CommandButton{"Command17", "C00", Plain},
    CommandButton{"Command18", "C01", Plain},
    CommandButton{"Command27", "C05", Plain},
    CommandButton{"Command28", "C06", Plain},
    CommandButton{"Command29", "C07", Plain},
    CommandButton{"Command19", "C0B", Plain},
    CommandButton{"Command20", "C0C", Plain},
    CommandButton{"Command21", "C0D", Plain},
    CommandButton{"Command22", "C0E", Plain},
    CommandButton{"Command23", "C1C", ArrowPreparation},
    CommandButton{"Command24", "C1D", Plain},
    CommandButton{"Command25", "C43", Plain},
    CommandButton{"Command26", "C44", Plain},
    CommandButton{"Command31", "C0F", Plain},
    CommandButton{"Command32", "C10", Plain},
    CommandButton{"Command38", "CF FANMODE L1", Plain},
    CommandButton{"Command43", "CF FANMODE L2", Plain},
    CommandButton{"Command13", "C89", ArrowPreparation},
    CommandButton{"Command30", "C27", Plain},
    CommandButton{"Command14", "C8A", Plain},
    CommandButton{"Command3", "C1E", Plain},
    CommandButton{"Command4", "C11", LongReply},
    CommandButton{"Command10", "C12", LongReply},
    CommandButton{"Command11", "C13", LongReply},
    CommandButton{"Command39", "C14", LongReply},
    CommandButton{"Command40", "C15", LongReply},
    CommandButton{"Command41", "C16", LongReply},
    CommandButton{"Command42", "C17", LongReply},
    CommandButton{"Command12", "C18", LongReply},
    CommandButton{"Command37", "C19", LongReply},
    CommandButton{"Command44", "CR0", Plain},
    CommandButton{"Command45", "CR1", Plain},
    CommandButton{"Command46", "CR3", Plain},
    CommandButton{"Command47", "CR4", Plain},
    CommandButton{"Command54", "CR6", Plain},
    CommandButton{"Command55", "CR7", Plain},
    CommandButton{"Command64", "C50", InputSwitch},
    CommandButton{"Command52", "C51", InputSwitch},
    CommandButton{"Command53", "C54", InputSwitch},
    CommandButton{"Command72", "CF INPUT COMPUTER2 ANALOG", InputSwitch},
    CommandButton{"Command82", "CF INPUT VIDEO VIDEO", InputSwitch},
    CommandButton{"Command69", "CF INPUT COMPUTER1 S-VIDEO", InputSwitch},
    CommandButton{"Command36", "C02", Plain},
};

//                        name         code   repeat  period  Timer2  Timer4  zoom
constexpr std::array adjusterTable{
    Adjuster{"Command1", "C09", 1, 250, 200, 245, false},
    Adjuster{"Command2", "C0A", 2, 250, 200, 245, false},
    Adjuster{"Command15", "C20", 7, 50, 25, 25, false},
    Adjuster{"Command35", "C21", 8, 50, 25, 25, false},
    Adjuster{"Command48", "C30", 17, 250, 200, 245, true},
    Adjuster{"Command49", "C31", 18, 250, 200, 245, true},
    Adjuster{"Command50", "C8E", 19, 250, 200, 245, false},
    Adjuster{"Command51", "C8F", 20, 250, 200, 245, false},
    Adjuster{"Command6", "C3F", 13, 500, 200, 245, false},
    Adjuster{"Command5", "C3C", 3, 0, 0, 0, false},
    Adjuster{"Command7", "C3D", 4, 0, 0, 0, false},
    Adjuster{"Command8", "C3A", 6, 0, 0, 0, false},
    Adjuster{"Command9", "C3B", 5, 0, 0, 0, false},
};

} // namespace

std::span<const CommandButton> commandButtons()
{
    return commandTable;
}

std::span<const Adjuster> adjusters()
{
    return adjusterTable;
}

QByteArray repeatCommand(int repeatCode)
{
    for (const Adjuster &adjuster : adjusterTable) {
        if (adjuster.repeatCode == repeatCode)
            return QByteArray(adjuster.code);
    }
    return {};
}
