#pragma once

#include "port_setup.h"
#include "transaction.h"
#include "view_switcher.h"

#include <QObject>

#include <functional>
#include <memory>

class Form1;
class IntervalTimer;
class KeyPreview;
class QEvent;
class Repeater;
class TrafficLines;
class SerialPort;
class TimerService;
struct Adjuster;

// Hooks for what leaves the window: the warning box and the end of the program.
struct PanelHooks {
    std::function<void(const QString &text)> showWarning; // default: a modal warning box
    std::function<void()> endProgram;                     // default: quit the application
};

// The handlers behind the controls of Form1: turns clicks, presses, keys, ticks and serial
// events into the exchange's operations, and its results into the window's texts.
class PanelController final : public QObject, private PortSetupUi, private ViewWindow {
    Q_OBJECT
public:
    PanelController(Form1 &form, SerialPort &port, TimerService &timers, PanelHooks hooks = {});
    ~PanelController() override;

    // The window's load: placement, start-up state, and the port opened as COM1.
    void load();

    // The window's four timers, 1 to 4.
    IntervalTimer &timer(int number) const;
    const Transaction &transaction() const { return *m_transaction; }
    const Repeater &repeater() const { return *m_repeater; }
    const ViewSwitcher &views() const { return *m_views; }
    const PortSetup &portSetup() const { return *m_portSetup; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // PortSetupUi
    void hidePortPanel() override;
    void showWarning(const QString &text) override;
    void markPortOption(int number) override;
    // ViewWindow
    int viewHeight() const override;
    void setViewHeight(int outerTwips) override;
    void setToggleCaption(const QString &caption) override;
    void showToggle() override;

    void connectCommandButtons();
    void connectAdjusters();
    void connectAuxiliaryButtons();
    void connectPortOptions();
    const Adjuster *adjusterFor(QObject *watched) const;

    void sendTypedCommand();
    void choosePort(int number);
    void onSendFailure(const QString &description);
    void onLinkLost(const QString &description);
    void onDeviceReturned();
    void showPortPanel();
    void endProgram();

    Form1 &m_form;
    SerialPort &m_port;
    PanelHooks m_hooks;
    std::unique_ptr<IntervalTimer> m_timers[4];
    // The three traffic lines, written on every send and every arrival.
    std::unique_ptr<TrafficLines> m_lines;
    std::unique_ptr<Transaction> m_transaction;
    std::unique_ptr<PortSetup> m_portSetup;
    std::unique_ptr<Repeater> m_repeater;
    std::unique_ptr<ViewSwitcher> m_views;
    std::unique_ptr<KeyPreview> m_keyPreview;
    // From a failed send or a lost link until the port is open again: the user has been
    // told once and is not told again.
    bool m_portTrouble = false;
};
