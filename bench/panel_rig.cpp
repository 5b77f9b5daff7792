#include "panel_rig.h"

#include "panel_geometry.h"

#include <QPushButton>
#include <QTest>

PanelRig::PanelRig(const QString &device, Writes writes)
{
    qputenv("ZRA70_COM1", device.toLocal8Bit());
    if (writes == Writes::Counted)
        m_counter = std::make_unique<CountingPort>(m_port);
    m_controller = std::make_unique<PanelController>(
        m_form, m_counter ? static_cast<SerialPort &>(*m_counter) : m_port, m_timers,
        PanelHooks{[this](const QString &text) { m_warnings.append(text); },
                   [] {
                   }});
    m_controller->load();
    m_form.show();
    m_exposed = QTest::qWaitForWindowExposed(&m_form);
    if (m_port.isOpen() && !m_port.isReady()) // a network port still connecting
        (void)QTest::qWaitFor([this] { return m_port.isReady() || !m_port.isOpen(); }, 5000);
}

PanelRig::~PanelRig() = default;

QString PanelRig::problem() const
{
    if (!m_warnings.isEmpty())
        return m_warnings.join(QLatin1Char(' '));
    if (!m_exposed)
        return QStringLiteral("the window was never shown");
    return m_port.isReady() ? QString() : QStringLiteral("the port did not open");
}

QPushButton *PanelRig::button(const char *name) const
{
    auto *found = m_form.control<QPushButton>(QLatin1String(name));
    Q_ASSERT(found);
    return found;
}

void PanelRig::press(const char *name)
{
    QTest::mousePress(button(name), Qt::LeftButton);
}

void PanelRig::release(const char *name)
{
    QTest::mouseRelease(button(name), Qt::LeftButton);
}

void PanelRig::click(const char *name)
{
    QTest::mouseClick(button(name), Qt::LeftButton);
}

void PanelRig::showDataArea(bool shown)
{
    m_form.setViewHeight(shown ? kDataHeightTwips : kCompactHeightTwips);
}
