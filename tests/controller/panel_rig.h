#pragma once

#include "fake_serial_port.h"
#include "fake_timers.h"
#include "form1.h"
#include "interval_timer.h"
#include "panel_controller.h"
#include "traffic_line.h"

#include <QPushButton>
#include <QTest>

// The real window and its handlers on a recording port and a stepped clock.
struct PanelRig {
    PanelRig()
        : controller(form, port, clock,
                     PanelHooks{[this](const QString &text) { warnings.append(text); },
                                [this] {
                                    ++programEnds;
                                }})
    {
        controller.load();
        form.show();
        port.written.clear();
    }

    QPushButton *button(const char *name) const { return form.control<QPushButton>(name); }
    QString line(const char *label) const { return form.control<TrafficLine>(label)->text(); }
    void click(const char *name) const { button(name)->click(); }
    void press(const char *name, Qt::MouseButton which = Qt::LeftButton) const
    {
        QTest::mousePress(button(name), which);
    }
    void release(const char *name, Qt::MouseButton which = Qt::LeftButton) const
    {
        QTest::mouseRelease(button(name), which);
    }
    int interval(int timer) const { return controller.timer(timer).interval(); }

    FakeTimerService clock;
    FakeSerialPort port;
    Form1 form;
    QStringList warnings;
    int programEnds = 0;
    PanelController controller;
};
