#pragma once

#include <QString>

// Which device a port number opens. Port n opens the device named by $ZRA70_COMn when that
// is set and not empty, else the system's n-th serial port (/dev/ttyS0, /dev/ttyS1; COM1,
// COM2 on Windows). A bare name such as "ttyUSB0" means /dev/ttyUSB0; a network address
// (tcp://HOST:PORT, rfc2217://HOST:PORT) is kept as it is. The environment is
// read on every call, so a change applies at the next opening.
bool isKnownPortNumber(int number);

// Empty for a number that is not a known port.
QString devicePathForPort(int number);

// The environment variable that chooses port n's device, for messages.
QString deviceVariableForPort(int number);
