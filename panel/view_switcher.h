#pragma once

#include <QString>

class IntervalTimer;

// What the view switching needs of the window.
class ViewWindow {
public:
    virtual ~ViewWindow() = default;
    // Outer heights in twips: 5350 compact, 6645 data, 7200 extended, 9100 full.
    virtual int viewHeight() const = 0;
    virtual void setViewHeight(int outerTwips) = 0;
    virtual void setToggleCaption(const QString &caption) = 0;
    virtual void showToggle() = 0;
};

// Brings the data area into view: Ctrl+H, the picture's double click and the data toggle.
class ViewSwitcher {
public:
    static constexpr int CompactHeight = 5350;
    static constexpr int DataHeight = 6645;
    static constexpr int ExtendedHeight = 7200;
    static constexpr int FullHeight = 9100;

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
