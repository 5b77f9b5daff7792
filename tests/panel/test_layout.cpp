// The window as a whole: what is in view at each height, the focus order, what lies
// on top, the window's own properties, and that the captions are legible.
#include "form1.h"
#include "panel_geometry.h"
#include "panel_widgets.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {

QRect rectInForm(const Form1 &form, const QWidget *widget)
{
    return {widget->mapTo(&form, QPoint(0, 0)), widget->size()};
}

QStringList layoutNames(const Form1 &form)
{
    static const QRegularExpression pattern(
        QStringLiteral("^(Command|Label|Frame|Option|Line)\\d+$|^Text1$|^Image1$"));
    QStringList names;
    for (const QWidget *widget : form.findChildren<QWidget *>()) {
        if (pattern.match(widget->objectName()).hasMatch())
            names << widget->objectName();
    }
    return names;
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

private slots:
    void titleKeepsItsBlanks();
    void windowIs633PixelsWideAndFixedAtEveryHeight_data();
    void windowIs633PixelsWideAndFixedAtEveryHeight();
    void whatIsInViewAtEachHeight_data();
    void whatIsInViewAtEachHeight();
    void everythingIsInViewAtFullHeight();
    void optionButtonsAreExclusiveOnlyWithinTheirOwnFrame();
    void focusStartsOnPowerOnAndTabFollowsTheTabColumn();
    void portPanelLiesOnTopOfComAndTakesItsClicks();
    void noButtonCaptionIsClipped_data();
    void noButtonCaptionIsClipped();
    void startPositionCentresByTheFullSizeWithoutClamping_data();
    void startPositionCentresByTheFullSizeWithoutClamping();
    void placeAtStartCentresThenShrinksToCompact();
};

void TestLayout::titleKeepsItsBlanks()
{
    Form1 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("TAVO   ZRA70_20  CONTROL   Ver.1.40"));
}

void TestLayout::windowIs633PixelsWideAndFixedAtEveryHeight_data()
{
    QTest::addColumn<int>("outerTwips");
    QTest::addColumn<int>("clientHeight");
    // Client bottoms 4980, 6275, 6830 and 8730 twips.
    QTest::newRow("compact 5350") << 5350 << 332;
    QTest::newRow("data 6645") << 6645 << 418;
    QTest::newRow("extended 7200") << 7200 << 455;
    QTest::newRow("full 9100") << 9100 << 582;
}

void TestLayout::windowIs633PixelsWideAndFixedAtEveryHeight()
{
    QFETCH(int, outerTwips);
    QFETCH(int, clientHeight);
    Form1 form;
    form.show();
    form.setViewHeight(outerTwips);
    QCOMPARE(form.viewHeight(), outerTwips);
    QCOMPARE(form.size(), QSize(633, clientHeight));
    QCOMPARE(form.minimumSize(), QSize(633, clientHeight));
    QCOMPARE(form.maximumSize(), QSize(633, clientHeight));
}

void TestLayout::whatIsInViewAtEachHeight_data()
{
    QTest::addColumn<int>("outerTwips");
    QTest::addColumn<QStringList>("wholly");
    QTest::addColumn<QStringList>("partly");
    QTest::addColumn<QStringList>("notAtAll");

    const QStringList upperMiddleLower{"Frame1",    "Command17", "Image1",    "Frame5",
                                       "Command3",  "Command16", "Command33", "Frame10",
                                       "Command43", "Command42", "Command12", "Command37"};
    const QStringList firstBand{"Frame9",    "Label11",   "Label12",   "Label22",
                                "Command34", "Command44", "Command45", "Command46",
                                "Command47", "Command54", "Command55"};
    const QStringList trafficLines{"Label9", "Label11", "Label10", "Label12", "Label23", "Label22"};
    const QStringList statusQueries{"Command44", "Command45", "Command46",
                                    "Command47", "Command54", "Command55"};
    const QStringList secondBand{"Command64", "Command52", "Command53", "Label15",  "Command36",
                                 "Frame15",   "Text1",     "Command95", "Command96"};

    QTest::newRow("compact 5350: down to the IMAGE4/B.Board/Dynamic row")
        << 5350 << upperMiddleLower << QStringList{"Frame9"}
        << trafficLines + statusQueries + QStringList{"Command34", "Frame14"} + secondBand;
    QTest::newRow("data 6645: traffic display and status queries")
        << 6645 << upperMiddleLower + firstBand + trafficLines << QStringList{}
        << QStringList{"Frame14"} + secondBand;
    QTest::newRow("extended 7200: only the extended-input frame's top edge more")
        << 7200 << upperMiddleLower + firstBand << QStringList{"Frame14"} << secondBand;
}

void TestLayout::whatIsInViewAtEachHeight()
{
    QFETCH(int, outerTwips);
    QFETCH(QStringList, wholly);
    QFETCH(QStringList, partly);
    QFETCH(QStringList, notAtAll);
    Form1 form;
    form.setViewHeight(outerTwips);
    const QRect client = form.rect();
    for (const QString &name : wholly)
        QVERIFY2(client.contains(rectInForm(form, form.control(name))), qPrintable(name));
    for (const QString &name : partly) {
        const QRect rect = rectInForm(form, form.control(name));
        QVERIFY2(client.intersects(rect) && !client.contains(rect), qPrintable(name));
    }
    for (const QString &name : notAtAll)
        QVERIFY2(!client.intersects(rectInForm(form, form.control(name))), qPrintable(name));
}

void TestLayout::everythingIsInViewAtFullHeight()
{
    Form1 form;
    form.setViewHeight(9100);
    for (const QString &name : layoutNames(form))
        QVERIFY2(form.rect().contains(rectInForm(form, form.control(name))), qPrintable(name));

    // At the compact height a strip of 60 twips of the traffic display's frame shows.
    form.setViewHeight(5350);
    QCOMPARE(form.rect().intersected(rectInForm(form, form.control("Frame9"))).height(), 4);
}

void TestLayout::optionButtonsAreExclusiveOnlyWithinTheirOwnFrame()
{
    Form1 form;
    form.show();
    form.control("Frame8")->show();
    auto *com1 = form.control<QRadioButton>("Option1");
    auto *com2 = form.control<QRadioButton>("Option2");
    auto *fast = form.control<QRadioButton>("Option9");
    auto *slow = form.control<QRadioButton>("Option10");

    com1->click();
    QVERIFY(com1->isChecked());
    QVERIFY(fast->isChecked());

    slow->click();
    QVERIFY(slow->isChecked());
    QVERIFY(!fast->isChecked());
    QVERIFY(com1->isChecked());

    com2->click();
    QVERIFY(com2->isChecked());
    QVERIFY(!com1->isChecked());
    QVERIFY(slow->isChecked());
}

void TestLayout::focusStartsOnPowerOnAndTabFollowsTheTabColumn()
{
    Form1 form;
    form.placeAtStart();
    form.setViewHeight(9100);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.control("Command17"));

    // Frames, labels and the picture never take the focus; hidden controls are skipped.
    const QStringList expected{
        "Command17", "Command1",  "Command2",  "Command3",  "Command5",  "Command6",  "Command7",
        "Command8",  "Command9",  "Command13", "Command14", "Command16", "Command18", "Command19",
        "Command20", "Command21", "Command22", "Command23", "Command24", "Command25", "Command26",
        "Command27", "Command28", "Command29", "Command31", "Command32", "Command33", "Command15",
        "Command35", "Command44", "Command45", "Command46", "Command47", "Command48", "Command49",
        "Command50", "Command51", "Command54", "Command30", "Command4",  "Command10", "Command11",
        "Command39", "Command40", "Command41", "Command42", "Command64", "Command69", "Command72",
        "Command82", "Text1",     "Command95", "Command96", "Command12", "Command36", "Command37",
        "Command38", "Command43", "Command52", "Command53", "Command55", "Command17"};
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
}

void TestLayout::portPanelLiesOnTopOfComAndTakesItsClicks()
{
    Form1 form;
    form.setViewHeight(5350);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *com = form.control<QPushButton>("Command33");
    QWidget *panel = form.control("Frame8");
    const QRect comRect = rectInForm(form, com);
    QVERIFY(rectInForm(form, panel).contains(comRect));
    QSignalSpy clicked(com, &QPushButton::clicked);

    QCOMPARE(form.childAt(comRect.center()), com);
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, comRect.center());
    QCOMPARE(clicked.count(), 1);

    panel->show();
    for (const QPoint &point : {comRect.topLeft(), comRect.topRight(), comRect.center(),
                                comRect.bottomLeft(), comRect.bottomRight()}) {
        QWidget *top = form.childAt(point);
        QVERIFY(top == panel || panel->isAncestorOf(top));
    }
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, comRect.center());
    QCOMPARE(clicked.count(), 1);
}

void TestLayout::noButtonCaptionIsClipped_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("atTableFontSize");

    Form1 form;
    for (const PanelButton *button : form.findChildren<PanelButton *>()) {
        const bool japanese = button->objectName() == "Command34";
        QTest::addRow("%s %s", qPrintable(button->objectName()), qPrintable(button->text()))
            << button->objectName() << button->text() << !japanese;
    }
    // Command34's other captions. Two lines of 9 pt do not fit its 25 pixels.
    QTest::newRow("Command34 do not show the data")
        << "Command34" << QStringLiteral("データを表示しない") << false;
    QTest::newRow("Command34 CLOSE") << "Command34"
                                     << "CLOSE" << true;
}

void TestLayout::noButtonCaptionIsClipped()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, atTableFontSize);
    Form1 form;
    auto *button = form.control<PanelButton>(name);
    button->setText(caption);

    const QFont drawn = button->captionFont();
    if (atTableFontSize)
        QCOMPARE(drawn, button->font());
    else
        QVERIFY(drawn.pointSizeF() >= 7);
    const QRect area = button->captionArea();
    QVERIFY(button->rect().contains(area));
    const QRect wrapped =
        QFontMetrics(drawn, button).boundingRect(area, Qt::AlignCenter | Qt::TextWordWrap, caption);
    QVERIFY2(
        area.contains(wrapped),
        qPrintable(
            QStringLiteral("%1 in %2").arg(QDebug::toString(wrapped), QDebug::toString(area))));
}

void TestLayout::startPositionCentresByTheFullSizeWithoutClamping_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("large screen") << QRect(0, 0, 1921, 1080) << QSize(633, 582) << QPoint(644, 249);
    QTest::newRow("screen smaller than the window, not clamped")
        << QRect(0, 0, 601, 400) << QSize(633, 582) << QPoint(-16, -91);
}

void TestLayout::startPositionCentresByTheFullSizeWithoutClamping()
{
    QFETCH(QRect, screen);
    QFETCH(QSize, outer);
    QFETCH(QPoint, expected);
    QCOMPARE(startPosition(screen, outer), expected);
}

void TestLayout::placeAtStartCentresThenShrinksToCompact()
{
    Form1 form;
    QCOMPARE(form.size(), QSize(633, 582));
    form.placeAtStart();
    const QRect screen = form.screen()->geometry();
    QCOMPARE(form.viewHeight(), 5350);
    QCOMPARE(form.size(), QSize(633, 332));
    // Centred by the full size (633 x 582 before the frame is known), top edge kept.
    QVERIFY(qAbs(form.x() - (screen.x() + (screen.width() - 633) / 2.0)) <= 0.5);
    QVERIFY(qAbs(form.y() - (screen.y() + (screen.height() - 582) / 2.0)) <= 0.5);
}

QTEST_MAIN(TestLayout)
#include "test_layout.moc"
