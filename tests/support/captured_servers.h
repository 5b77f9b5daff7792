#pragma once

#include <QByteArray>

// What Debian's RFC 2217 servers send a client that offers BINARY and the COM-PORT-OPTION and
// asks for 19200 8N1 without flow control, as captured from the wire with `socat -x` between
// zra70ctl and the server; hex text for QByteArray::fromHex.
struct CapturedServer {
    const char *name;
    const char *greeting;
    const char *acks19200; // the five acknowledgements, in the order asked, and notices
};

inline constexpr CapturedServer CapturedServers[] = {
    // WILL SGA, DO SGA, WILL ECHO, DONT ECHO, DO BINARY, WILL BINARY, DO COM-PORT-OPTION; a
    // modem state notice in front of the acknowledgements.
    {"ser2net 4.3", "fffb03fffd03fffb01fffe01fffd00fffb00fffd2c",
     "fffa2c6b00fff0"
     "fffa2c6500004b00fff0fffa2c6608fff0fffa2c6701fff0fffa2c6801fff0fffa2c6901fff0"},
    // WILL BINARY, DO BINARY, WILL ECHO, WILL SGA, DO SGA, DO COM-PORT-OPTION, then three modem
    // state notices (before and after the acknowledgements: it polls the lines); the speed
    // comes in eight bytes, the standard's four and four zeros.
    {"sredird 2.2",
     "fffb00fffd00fffb01fffb03fffd03fffd2c"
     "fffa2c6beefff0fffa2c6b0efff0fffa2c6b00fff0",
     "fffa2c6500004b0000000000fff0fffa2c6608fff0fffa2c6701fff0fffa2c6801fff0fffa2c6901fff0"
     "fffa2c6b88fff0fffa2c6b08fff0fffa2c6b00fff0"},
};

inline QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}
