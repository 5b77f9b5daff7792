#include "panel_controller.h"

#include "command_table.h"
#include "form1.h"
#include "interval_timer.h"
#include "repeater.h"
#include "serial_port.h"
#include "traffic_line.h"
#include "traffic_lines.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

namespace {

enum TimerNumber { RepeatTimer = 1, ReplyTimeoutTimer, PortPanelTimer, DisplayClearTimer };
constexpr int StartIntervals[] = {200, 500, 5000, 1000};

constexpr int LongReplyTimeout = 2000;
constexpr int LongReplyDisplay = 2500;
constexpr int InputSwitchTimeout = 5000;
constexpr int InputSwitchDisplay = 5500;

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

// A typed command goes out one byte per character: Latin-1 where it can, "?" beyond it.
QByteArray typedCommandBytes(const QString &text)
{
    return text.toLatin1();
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
    , m_hooks(std::move(hooks))
{
    for (int i = 0; i < 4; ++i)
        m_timers[i] = timers.createTimer(StartIntervals[i]);
    m_lines = std::make_unique<TrafficLines>(*form.control<TrafficLine>("Label11"),
                                             *form.control<TrafficLine>("Label12"),
                                             *form.control<TrafficLine>("Label22"), timers);
    TrafficDisplay &display = *m_lines;
    PortSetupUi &portUi = *this;
    ViewWindow &window = *this;
    m_transaction = std::make_unique<Transaction>(port, timer(ReplyTimeoutTimer),
                                                  timer(DisplayClearTimer), display);
    m_portSetup = std::make_unique<PortSetup>(port, portUi);
    m_repeater =
        std::make_unique<Repeater>(*m_transaction, timer(RepeatTimer), timer(ReplyTimeoutTimer),
                                   timer(DisplayClearTimer), display);
    m_views = std::make_unique<ViewSwitcher>(window, timer(PortPanelTimer));

    timer(RepeatTimer).setTickHandler([this] { m_repeater->onRepeatTick(); });
    timer(ReplyTimeoutTimer).setTickHandler([this] { m_transaction->onReplyTimeout(); });
    timer(PortPanelTimer).setTickHandler([this] {
        m_form.control("Frame8")->hide();
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
    m_form.control("Image1")->installEventFilter(this);
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
    for (const CommandButton &button : commandButtons()) {
        connect(m_form.control<QPushButton>(button.name), &QPushButton::clicked, this,
                [this, &button] {
                    if (button.timing == TimingKind::LongReply) {
                        timer(ReplyTimeoutTimer).setInterval(LongReplyTimeout);
                        timer(DisplayClearTimer).setInterval(LongReplyDisplay);
                    } else if (button.timing == TimingKind::InputSwitch) {
                        timer(ReplyTimeoutTimer).setInterval(InputSwitchTimeout);
                        timer(DisplayClearTimer).setInterval(InputSwitchDisplay);
                    }
                    m_transaction->sendCommand(button.code);
                    if (button.timing == TimingKind::ArrowPreparation)
                        m_repeater->prepareArrows();
                });
    }
    connect(m_form.control<QPushButton>("Command16"), &QPushButton::clicked, this,
            &PanelController::endProgram);
}

void PanelController::connectAdjusters()
{
    // Adjusters act on the press and release of any mouse button, never on a click.
    for (const Adjuster &adjuster : adjusters())
        m_form.control(adjuster.name)->installEventFilter(this);
}

void PanelController::connectAuxiliaryButtons()
{
    connect(m_form.control<QPushButton>("Command34"), &QPushButton::clicked, this,
            [this] { m_views->toggleData(); });
    connect(m_form.control<QPushButton>("Command95"), &QPushButton::clicked, this,
            &PanelController::sendTypedCommand);
    connect(m_form.control<QPushButton>("Command96"), &QPushButton::clicked, this,
            [this] { m_form.control<QLineEdit>("Text1")->clear(); });
    connect(m_form.control<QPushButton>("Command33"), &QPushButton::clicked, this,
            &PanelController::showPortPanel);
}

void PanelController::connectPortOptions()
{
    connect(m_form.control<QRadioButton>("Option1"), &QRadioButton::clicked, this,
            [this] { choosePort(1); });
    connect(m_form.control<QRadioButton>("Option2"), &QRadioButton::clicked, this,
            [this] { choosePort(2); });
    connect(m_form.control<QRadioButton>("Option9"), &QRadioButton::clicked, this,
            [this] { m_portSetup->chooseSpeed(19200); });
    connect(m_form.control<QRadioButton>("Option10"), &QRadioButton::clicked, this,
            [this] { m_portSetup->chooseSpeed(9600); });
}

void PanelController::choosePort(int number)
{
    m_portSetup->choosePort(number);
    m_portTrouble = !m_port.isOpen(); // a failed choice has shown its own box
}

void PanelController::onSendFailure(const QString &description)
{
    // A held adjuster must not go on repeating into a port that takes nothing.
    m_repeater->releaseHeld();
    if (std::exchange(m_portTrouble, true))
        return;
    showWarning(description + QStringLiteral("\n\nChoose the port under \"COM\" to reconnect."));
}

void PanelController::onLinkLost(const QString &description)
{
    m_repeater->releaseHeld();
    if (std::exchange(m_portTrouble, true))
        return;
    showWarning(description +
                QStringLiteral("\n\nThe panel reconnects by itself when the device is back; "
                               "choosing the port under \"COM\" also reconnects."));
}

void PanelController::onDeviceReturned()
{
    if (m_port.isOpen())
        return;
    if (m_port.open())
        m_portTrouble = false;
}

void PanelController::sendTypedCommand()
{
    timer(ReplyTimeoutTimer).setInterval(LongReplyTimeout);
    timer(DisplayClearTimer).setInterval(LongReplyDisplay);
    const QString typedCommand = m_form.control<QLineEdit>("Text1")->text();
    m_transaction->sendCommand(typedCommandBytes(typedCommand));
}

void PanelController::showPortPanel()
{
    m_form.control("Frame8")->show();
    timer(PortPanelTimer).start();
}

void PanelController::endProgram()
{
    m_repeater->releaseHeld();
    m_port.close();
    if (m_hooks.endProgram)
        m_hooks.endProgram();
    else
        QCoreApplication::quit();
}

const Adjuster *PanelController::adjusterFor(QObject *watched) const
{
    for (const Adjuster &adjuster : adjusters()) {
        if (watched->objectName() == QLatin1String(adjuster.name))
            return &adjuster;
    }
    return nullptr;
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
    if (type == QEvent::MouseButtonDblClick && watched->objectName() == QLatin1String("Image1")) {
        m_views->openFullView();
        return false;
    }
    if (isMouseDown(type) || type == QEvent::MouseButtonRelease) {
        if (const Adjuster *adjuster = adjusterFor(watched)) {
            if (isMouseDown(type))
                m_repeater->press(*adjuster);
            else
                m_repeater->release(*adjuster);
        }
    }
    return false;
}

void PanelController::hidePortPanel()
{
    m_form.control("Frame8")->hide();
}

void PanelController::showWarning(const QString &text)
{
    if (m_hooks.showWarning) {
        m_hooks.showWarning(text);
        return;
    }
    QMessageBox::warning(&m_form, m_form.windowTitle(), text);
}

void PanelController::markPortOption(int number)
{
    auto *option = m_form.control<QRadioButton>(number == 1 ? "Option1" : "Option2");
    const QSignalBlocker quiet(option);
    option->setChecked(true);
}

int PanelController::viewHeight() const
{
    return m_form.viewHeight();
}

void PanelController::setViewHeight(int outerTwips)
{
    m_form.setViewHeight(outerTwips);
}

void PanelController::setToggleCaption(const QString &caption)
{
    m_form.control<QPushButton>("Command34")->setText(caption);
}

void PanelController::showToggle()
{
    m_form.control("Command34")->show();
}
