#pragma once

#include <QWidget>

// The panel's one window, built from the layout table. Every control is a child
// whose objectName is its name in the layout table ("Command17", "Label11", "Frame8", ...).
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    // The view height in outer-height twips, title bar included (5350, 6645, 7200, 9100).
    // The client area shows down to outer - 370 twips whatever the title bar's real height.
    void setViewHeight(int outerTwips);
    int viewHeight() const;
    // Centres the window by its full size, then shrinks it to the compact height.
    void placeAtStart();

    template <typename T = QWidget> T *control(const QString &name) const
    {
        return findChild<T *>(name);
    }

private:
    void buildFromLayout();

    int m_viewHeightTwips = 0;
};
