#pragma once

#include <QtGlobal>

// A loopback port nobody listens on now; 0 if none could be found.
quint16 freeLoopbackPort();
// Whether something listens on the port, read from the kernel's socket table, so that no
// connection is made (ser2net would open its device for one).
bool isListening(quint16 port);
