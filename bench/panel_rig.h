#pragma once

#include "counting_port.h"
#include "form1.h"
#include "mapped_serial_port.h"
#include "panel_controller.h"
#include "qt_timer_service.h"

#include <QStringList>

#include <memory>

class QPushButton;

// The panel as the program puts it together, in this process: the real window, the real
// port on the device or network address given as COM1 and real precise timers. Warning boxes are
// collected instead of shown, so a run never waits on a dialog. Shared by the end-to-end tests
// and the benchmarks.
class PanelRig {
public:
    enum class Writes { Uncounted, Counted };
    // Counted puts a CountingPort between the panel and its port.
    explicit PanelRig(const QString &device, Writes writes = Writes::Uncounted);
    ~PanelRig();

    bool isReady() const { return m_exposed && m_port.isReady() && m_warnings.isEmpty(); }
    QString problem() const;

    // Mouse press and release delivered straight to the button, as the window system would.
    void press(const char *button);
    void release(const char *button);
    void click(const char *button);
    // Data area in view (Ctrl+H's height) or out of view (the compact height of start-up).
    void showDataArea(bool shown);

    const QStringList &warnings() const { return m_warnings; }

    PanelController &controller() { return *m_controller; }
    Form1 &form() { return m_form; }
    const CountingPort *writeCounter() const { return m_counter.get(); }

private:
    QPushButton *button(const char *name) const;

    QtTimerService m_timers;
    MappedSerialPort m_port; // a local device or a network address
    std::unique_ptr<CountingPort> m_counter;
    Form1 m_form;
    QStringList m_warnings;
    bool m_exposed = false;
    std::unique_ptr<PanelController> m_controller;
};
