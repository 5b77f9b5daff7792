#include "panel_controller.h"

#include "command_sender.h"
#include "command_table.h"
#include "form1.h"
#include "interval_timer.h"
#include "port_setup.h"
#include "repeater.h"
#include "serial_port.h"
#include "traffic_line.h"
#include "traffic_lines.h"
#include "transaction.h"
#include "view_switcher.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

enum TimerNumber { RepeatTimer = 1, ReplyTimeoutTimer, PortPanelTimer, DisplayClearTimer };
constexpr int StartIntervals[] = {RepeatStartMs, ReplyTimeoutStartMs, PortPanelStartMs,
                                  DisplayClearStartMs};

// Ctrl alone, as the window's key preview tests it: Shift and Alt must not be held.
bool isExtendedViewShortcut(const QKeyEvent &key)
{
    const auto held = key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    return held == Qt::ControlModifier && key.key() == Qt::Key_H;
}

bool isMouseDown(QEvent::Type type)
{
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
}

} // namespace

// The window's key preview: sees every key pressed in the window before the focused control
// does, and never consumes it. Lives on the application, where keys for any control pass.
class KeyPreview final : public QObject {
public:
    KeyPreview(QWidget &window, std::function<void(const QKeyEvent &)> onKeyDown)
        : m_window(window)
        , m_onKeyDown(std::move(onKeyDown))
    {
        qApp->installEventFilter(this);
    }
    ~KeyPreview() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && isFirstReceiver(watched))
            m_onKeyDown(*static_cast<QKeyEvent *>(event));
        return false;
    }

private:
    // A key goes first to the focused control, then up through its parents; preview it once,
    // at its first receiver inside this window.
    bool isFirstReceiver(QObject *watched) const
    {
        QWidget *focus = QApplication::focusWidget();
        QWidget *first = focus && m_window.isAncestorOf(focus) ? focus : &m_window;
        return watched == first;
    }

    QWidget &m_window;
    std::function<void(const QKeyEvent &)> m_onKeyDown;
};

PanelController::PanelController(Form1 &form, SerialPort &port, TimerService &timers,
                                 PanelHooks hooks)
    : m_form(form)
    , m_port(port)
    , m_endProgram(std::move(hooks.endProgram))
{
    if (hooks.showWarning)
        m_form.setWarningHandler(std::move(hooks.showWarning));
    for (int i = 0; i < 4; ++i)
        m_timers[i] = timers.createTimer(StartIntervals[i]);
    const Form1::Controls &lines = form.controls();
    m_lines =
        std::make_unique<TrafficLines>(*lines.Label11, *lines.Label12, *lines.Label22, timers);
    m_transaction = std::make_unique<Transaction>(port, timer(ReplyTimeoutTimer),
                                                  timer(DisplayClearTimer), *m_lines);
    m_repeater =
        std::make_unique<Repeater>(*m_transaction, timer(RepeatTimer), timer(ReplyTimeoutTimer),
                                   timer(DisplayClearTimer), *m_lines);
    m_sender = std::make_unique<CommandSender>(*m_transaction, timer(ReplyTimeoutTimer),
                                               timer(DisplayClearTimer), m_repeater.get());
    m_portSetup = std::make_unique<PortSetup>(port, form);
    m_views = std::make_unique<ViewSwitcher>(form, timer(PortPanelTimer));

    timer(RepeatTimer).setTickHandler([this] { m_repeater->onRepeatTick(); });
    timer(ReplyTimeoutTimer).setTickHandler([this] { m_transaction->onReplyTimeout(); });
    timer(PortPanelTimer).setTickHandler([this] {
        m_form.hidePortPanel();
        timer(PortPanelTimer).stop();
    });
    timer(DisplayClearTimer).setTickHandler([this] { m_transaction->onDisplayClear(); });

    connect(&port, &SerialPort::commEvent, this,
            [this](int code) { m_transaction->onCommEvent(code); });
    connect(&port, &SerialPort::linkLost, this, &PanelController::onLinkLost);
    connect(&port, &SerialPort::deviceReturned, this, &PanelController::onDeviceReturned);
    m_transaction->setSendFailureHandler(
        [this](const QString &description) { onSendFailure(description); });

    connectCommandButtons();
    connectAdjusters();
    connectAuxiliaryButtons();
    connectPortOptions();
    m_form.installEventFilter(this);
    m_form.controls().Image1->installEventFilter(this);
    m_keyPreview = std::make_unique<KeyPreview>(m_form, [this](const QKeyEvent &key) {
        if (isExtendedViewShortcut(key))
            m_views->openExtendedView();
    });
}

PanelController::~PanelController() = default;

IntervalTimer &PanelController::timer(int number) const
{
    return *m_timers[number - 1];
}

void PanelController::load()
{
    m_form.placeAtStart();
    m_transaction->reset();
    m_portSetup->startUp();
    m_portTrouble = !m_port.isOpen(); // a failed opening has been reported already
}

void PanelController::connectCommandButtons()
{
    for (const CommandButton &command : commandButtons()) {
        connect(m_form.button(command.name), &QPushButton::clicked, this,
                [this, &command] { m_sender->send(command); });
    }
    connect(m_form.controls().Command16, &QPushButton::clicked, this, &PanelController::endProgram);
}

void PanelController::connectAdjusters()
{
    // Adjusters act on the press and release of any mouse button, never on a click.
    for (const Adjuster &adjuster : adjusters()) {
        QPushButton *button = m_form.button(adjuster.name);
        m_adjusters.insert(button, &adjuster);
        button->installEventFilter(this);
    }
}

void PanelController::connectAuxiliaryButtons()
{
    const Form1::Controls &controls = m_form.controls();
    connect(controls.Command34, &QPushButton::clicked, this, [this] { m_views->toggleData(); });
    connect(controls.Command95, &QPushButton::clicked, this,
            [this] { m_sender->sendTyped(m_form.controls().Text1->text()); });
    connect(controls.Command96, &QPushButton::clicked, controls.Text1, &QLineEdit::clear);
    connect(controls.Command33, &QPushButton::clicked, this, [this] {
        m_form.showPortPanel();
        timer(PortPanelTimer).start();
    });
}

void PanelController::connectPortOptions()
{
    const Form1::Controls &controls = m_form.controls();
    connect(controls.Option1, &QRadioButton::clicked, this,
            [this] { choosePort(PortSetup::FirstPort); });
    connect(controls.Option2, &QRadioButton::clicked, this,
            [this] { choosePort(PortSetup::SecondPort); });
    connect(controls.Option9, &QRadioButton::clicked, this,
            [this] { m_portSetup->chooseSpeed(19200); });
    connect(controls.Option10, &QRadioButton::clicked, this,
            [this] { m_portSetup->chooseSpeed(9600); });
}

void PanelController::choosePort(int number)
{
    m_portSetup->choosePort(number);
    m_portTrouble = !m_port.isOpen(); // a failed choice has shown its own box
}

void PanelController::onSendFailure(const QString &description)
{
    warnOnce(description + QStringLiteral("\n\nChoose the port under \"COM\" to reconnect."));
}

void PanelController::onLinkLost(const QString &description)
{
    const QString advice =
        m_port.isWatchingForReturn()
            ? QStringLiteral("The panel reconnects by itself when the device is back; "
                             "choosing the port under \"COM\" also reconnects.")
            : QStringLiteral("Choosing the port under \"COM\" tries again.");
    warnOnce(description + QStringLiteral("\n\n") + advice);
}

void PanelController::warnOnce(const QString &text)
{
    // A held adjuster must not go on repeating into a port that takes nothing.
    m_repeater->releaseHeld();
    if (std::exchange(m_portTrouble, true))
        return;
    m_form.showWarning(text);
}

void PanelController::onDeviceReturned()
{
    if (m_port.isOpen())
        return;
    if (m_port.open())
        m_portTrouble = false;
}

void PanelController::endProgram()
{
    m_repeater->releaseHeld();
    m_port.close();
    if (m_endProgram)
        m_endProgram();
    else
        QCoreApplication::quit();
}

bool PanelController::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == &m_form) {
        // The release of a held adjuster may never arrive once the window loses the mouse.
        const bool minimized = type == QEvent::WindowStateChange && m_form.isMinimized();
        if (type == QEvent::WindowDeactivate || type == QEvent::WindowBlocked ||
            type == QEvent::Hide || minimized)
            m_repeater->releaseHeld();
        return false;
    }
    if (watched == m_form.controls().Image1) {
        if (type == QEvent::MouseButtonDblClick)
            m_views->openFullView();
        return false;
    }
    if (isMouseDown(type) || type == QEvent::MouseButtonRelease) {
        if (const Adjuster *adjuster = m_adjusters.value(watched)) {
            if (isMouseDown(type))
                m_repeater->press(*adjuster);
            else
                m_repeater->release(*adjuster);
        }
    }
    return false;
}
