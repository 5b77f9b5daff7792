#include "view_switcher.h"

#include "interval_timer.h"
#include "panel_geometry.h"

const QString ViewSwitcher::ShowDataCaption = QStringLiteral("データを表示する");
const QString ViewSwitcher::HideDataCaption = QStringLiteral("データを表示しない");
const QString ViewSwitcher::CloseCaption = QStringLiteral("CLOSE");

namespace {
constexpr int CollapseFromHeight = 6000;
}

ViewSwitcher::ViewSwitcher(ViewWindow &window, IntervalTimer &panelHide)
    : m_window(window)
    , m_panelHide(panelHide)
{
}

void ViewSwitcher::openExtendedView()
{
    m_window.setViewHeight(kExtendedHeightTwips);
    m_extendedView = 1;
    m_window.setToggleCaption(CloseCaption);
    m_window.showToggle();
}

void ViewSwitcher::openFullView()
{
    if (m_extendedView != 1)
        return;
    m_window.setViewHeight(kFullHeightTwips);
    m_window.setToggleCaption(CloseCaption);
    m_window.showToggle();
}

void ViewSwitcher::toggleData()
{
    m_panelHide.stop();
    m_extendedView = 0;
    // The height alone decides, not the caption.
    if (m_window.viewHeight() >= CollapseFromHeight) {
        m_window.setViewHeight(kCompactHeightTwips);
        m_window.setToggleCaption(ShowDataCaption);
    } else {
        m_window.setViewHeight(kDataHeightTwips);
        m_window.setToggleCaption(HideDataCaption);
    }
    m_panelHide.start();
}
