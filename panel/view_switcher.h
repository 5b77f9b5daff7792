#pragma once

#include <QString>

class IntervalTimer;

// What the view switching needs of the window.
class ViewWindow {
public:
    virtual ~ViewWindow() = default;
    // Outer heights in twips, as in panel_geometry.h.
    virtual int viewHeight() const = 0;
    virtual void setViewHeight(int outerTwips) = 0;
    virtual void setToggleCaption(const QString &caption) = 0;
    virtual void showToggle() = 0;
};

// Brings the data area into view: Ctrl+H, the picture's double click and the data toggle.
class ViewSwitcher {
public:
    ViewSwitcher(ViewWindow &window, IntervalTimer &panelHide);

    void openExtendedView();
    void openFullView();
    // The toggle's click: collapse a tall window, or show the data area of a compact one.
    void toggleData();

    int extendedView() const { return m_extendedView; }

    static const QString ShowDataCaption;
    static const QString HideDataCaption;
    static const QString CloseCaption;

private:
    ViewWindow &m_window;
    IntervalTimer &m_panelHide;
    int m_extendedView = 0;
};
