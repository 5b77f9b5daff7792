#pragma once

#include "line_end.h"

#include <termios.h>

// Reads the line settings a port gave its device; opened before the port takes the device.
class LineObserver : public LineEnd {
public:
    using LineEnd::LineEnd;
    bool isValid() const { return isOpen(); }
};
