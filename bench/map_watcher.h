#pragma once

#include <QString>

#include <optional>
#include <sys/types.h>

struct xcb_connection_t;

// Watches the X display for top-level windows being mapped, to time a program from its
// exec to its window appearing. With no window manager running (as under Xvfb here), a
// top-level window is mapped the moment its program asks, and the root window reports it.
class MapWatcher {
public:
    MapWatcher() = default;
    ~MapWatcher();
    MapWatcher(const MapWatcher &) = delete;
    MapWatcher &operator=(const MapWatcher &) = delete;

    bool connectToDisplay(QString *error);
    // The steady-clock time at which a top-level window of process pid was seen mapped, or
    // nothing when none was within timeoutMs.
    std::optional<qint64> waitForMap(pid_t pid, int timeoutMs);

private:
    pid_t windowPid(unsigned window);

    xcb_connection_t *m_connection = nullptr;
    unsigned m_root = 0;
    unsigned m_pidAtom = 0;
};
