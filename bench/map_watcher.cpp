#include "map_watcher.h"

#include "clock.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <poll.h>

MapWatcher::~MapWatcher()
{
    if (m_connection)
        xcb_disconnect(m_connection);
}

bool MapWatcher::connectToDisplay(QString *error)
{
    m_connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(m_connection)) {
        *error = QStringLiteral("cannot connect to the X display \"%1\"")
                     .arg(QString::fromLocal8Bit(std::getenv("DISPLAY")));
        return false;
    }
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &mask);

    const char name[] = "_NET_WM_PID";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, std::strlen(name), name), nullptr);
    if (atom) {
        m_pidAtom = atom->atom;
        std::free(atom);
    }
    xcb_flush(m_connection);
    return true;
}

pid_t MapWatcher::windowPid(unsigned window)
{
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        m_connection, xcb_get_property(m_connection, 0, window, m_pidAtom, XCB_ATOM_CARDINAL, 0, 1),
        nullptr);
    pid_t pid = 0;
    if (reply && xcb_get_property_value_length(reply) == 4)
        pid = pid_t(*static_cast<uint32_t *>(xcb_get_property_value(reply)));
    std::free(reply);
    return pid;
}

std::optional<qint64> MapWatcher::waitForMap(pid_t pid, int timeoutMs)
{
    const qint64 deadline = steadyNowNs() + qint64(timeoutMs) * 1'000'000;
    pollfd connection{xcb_get_file_descriptor(m_connection), POLLIN, 0};
    for (;;) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
            const qint64 seen = steadyNowNs();
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            const auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            const bool topLevel = mapped && map->event == m_root && !map->override_redirect;
            const unsigned window = topLevel ? map->window : 0;
            std::free(event);
            if (window && windowPid(window) == pid)
                return seen;
        }
        if (xcb_connection_has_error(m_connection))
            return std::nullopt;
        const qint64 left = deadline - steadyNowNs();
        if (left <= 0)
            return std::nullopt;
        ::poll(&connection, 1, int(left / 1'000'000) + 1);
    }
}
