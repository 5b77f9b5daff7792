#pragma once

#include <QHash>
#include <QObject>

#include <functional>
#include <memory>

class CommandSender;
class Form1;
class IntervalTimer;
class KeyPreview;
class PortSetup;
class QEvent;
class Repeater;
class TrafficLines;
class SerialPort;
class TimerService;
class Transaction;
class ViewSwitcher;
struct Adjuster;

// Hooks for what leaves the window: the warning box and the end of the program.
struct PanelHooks {
    std::function<void(const QString &text)> showWarning; // default: a modal warning box
    std::function<void()> endProgram;                     // default: quit the application
};

// Wires the controls of Form1 to the exchange and the commands: clicks, presses, keys and
// timer ticks in, the window's own display out. Keeps the one policy of its own: a port in
// trouble is reported once until it is open again.
class PanelController final : public QObject {
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

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectCommandButtons();
    void connectAdjusters();
    void connectAuxiliaryButtons();
    void connectPortOptions();

    void choosePort(int number);
    void onSendFailure(const QString &description);
    void onLinkLost(const QString &description);
    void warnOnce(const QString &text);
    void onDeviceReturned();
    void endProgram();

    Form1 &m_form;
    SerialPort &m_port;
    std::function<void()> m_endProgram;
    std::unique_ptr<IntervalTimer> m_timers[4];
    // The three traffic lines, written on every send and every arrival.
    std::unique_ptr<TrafficLines> m_lines;
    std::unique_ptr<Transaction> m_transaction;
    std::unique_ptr<Repeater> m_repeater;
    std::unique_ptr<CommandSender> m_sender;
    std::unique_ptr<PortSetup> m_portSetup;
    std::unique_ptr<ViewSwitcher> m_views;
    std::unique_ptr<KeyPreview> m_keyPreview;
    QHash<const QObject *, const Adjuster *> m_adjusters;
    // From a failed send or a lost link until the port is open again: the user has been
    // told once and is not told again.
    bool m_portTrouble = false;
};
