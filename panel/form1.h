#pragma once

#include "port_setup.h"
#include "transaction.h"
#include "view_switcher.h"

#include <QHash>
#include <QWidget>

#include <functional>

class QLineEdit;
class QPushButton;
class QRadioButton;
class TrafficLine;

// The panel's one window, built from the layout table. Every control is a child whose
// objectName is its name in the layout table ("Command17", "Label11", "Frame8", ...).
// It shows what the exchange, the view switching and the port options ask of it.
class Form1 : public QWidget, public ViewWindow, public PortSetupUi {
    Q_OBJECT
public:
    // The controls the handlers reach, found once when the window is built.
    struct Controls {
        TrafficLine *Label11 = nullptr; // sent traffic
        TrafficLine *Label12 = nullptr; // received traffic
        TrafficLine *Label22 = nullptr; // status
        QWidget *Frame8 = nullptr; // the port panel
        QRadioButton *Option1 = nullptr;
        QRadioButton *Option2 = nullptr;
        QRadioButton *Option9 = nullptr;  // 19200
        QRadioButton *Option10 = nullptr; // 9600
        QPushButton *Command16 = nullptr; // END
        QPushButton *Command33 = nullptr; // COM
        QPushButton *Command34 = nullptr; // the data toggle
        QPushButton *Command95 = nullptr; // SEND
        QPushButton *Command96 = nullptr; // CLS
        QLineEdit *Text1 = nullptr;
        QWidget *Image1 = nullptr;
    };

    explicit Form1(QWidget *parent = nullptr);
    ~Form1() override;

    const Controls &controls() const { return m_controls; }
    // A push button by its name in the layout table, for the table-driven commands.
    QPushButton *button(const char *name) const;

    // The view height in outer-height twips, title bar included (5350, 6645, 7200, 9100).
    // The client area shows down to outer - 370 twips whatever the title bar's real height.
    void setViewHeight(int outerTwips) override;
    int viewHeight() const override;
    void setToggleCaption(const QString &caption) override;
    void showToggle() override;
    // Centres the window by its full size, then shrinks it to the compact height.
    void placeAtStart();

    void hidePortPanel() override;
    void showPortPanel();
    void markPortOption(int number) override;
    // A modal warning box unless a handler is set (tests collect the texts instead).
    void showWarning(const QString &text) override;
    void setWarningHandler(std::function<void(const QString &)> handler)
    {
        m_onWarning = std::move(handler);
    }

    // Any control by its name in the layout table, for tests and tools.
    template <typename T = QWidget> T *control(const QString &name) const
    {
        return findChild<T *>(name);
    }

private:
    void buildFromLayout();
    void findControls();

    int m_viewHeightTwips = 0;
    QHash<QString, QWidget *> m_built;
    Controls m_controls;
    std::function<void(const QString &)> m_onWarning;
};
