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

QStringList designNames(const Form1 &form)
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
    void titleIsTheDesignTitleWithItsBlanks();
    void everyControlIsBuiltUnderItsDesignName();
    void windowIs633PixelsWideAndFixedAtEveryHeight_data();
    void windowIs633PixelsWideAndFixedAtEveryHeight();
    void userCanMinimizeAndCloseButNotMaximize();
    void whatIsInViewAtEachHeight_data();
    void whatIsInViewAtEachHeight();
    void everythingIsInViewAtFullHeight();
    void onlyCommand34AndThePortPanelAreHiddenAtStart();
    void linesAndTextBoxStartEmptyAndOnlyTheSpeed19200IsSelected();
    void optionButtonsAreExclusiveOnlyWithinTheirOwnFrame();
    void focusStartsOnPowerOnAndTabFollowsTheTabColumn();
    void tabFromKeystoneMinusReachesTempOutOfViewAtCompactHeight();
    void portPanelLiesOnTopOfComAndTakesItsClicks();
    void linesAreViolet2PixelsWideAndBeneathTheControls();
    void twipsArePlacedAtTheNearestPixelInsideTheirContainer();
    void coloursAndFontsFollowTheDesignNames();
    void pictureIsShownUnscaledFromTheResources();
    void noButtonCaptionIsClipped_data();
    void noButtonCaptionIsClipped();
    void displayClearWrapsOntoTwoLines();
    void startPositionCentresByTheFullSizeWithoutClamping_data();
    void startPositionCentresByTheFullSizeWithoutClamping();
    void placeAtStartCentresThenShrinksToCompact();
};

void TestLayout::titleIsTheDesignTitleWithItsBlanks()
{
    Form1 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("TAVO   ZRA70_20  CONTROL   Ver.1.40"));
}

void TestLayout::everyControlIsBuiltUnderItsDesignName()
{
    Form1 form;
    const QStringList names = designNames(form);
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
    // 13 frames, 61 buttons, 22 labels, 4 options, 1 text box, 1 picture, 12 lines.
    QCOMPARE(form.findChildren<PanelFrame *>().size(), 13);
    QCOMPARE(form.findChildren<PanelButton *>().size(), 61);
    QCOMPARE(form.findChildren<PanelLabel *>().size(), 22);
    QCOMPARE(form.findChildren<QRadioButton *>().size(), 4);
    QCOMPARE(form.findChildren<QLineEdit *>().size(), 1);
    QCOMPARE(form.findChildren<PanelPicture *>().size(), 1);
    QCOMPARE(form.findChildren<PanelLine *>().size(), 12);
    QCOMPARE(names.size(), 13 + 61 + 22 + 4 + 1 + 1 + 12);
    for (const char *name :
         {"Command1", "Command96", "Label26", "Frame15", "Option10", "Text1", "Image1", "Line12"})
        QVERIFY2(form.control(QLatin1String(name)), name);
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

void TestLayout::userCanMinimizeAndCloseButNotMaximize()
{
    Form1 form;
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(form.isWindow());
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
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
    for (const QString &name : designNames(form))
        QVERIFY2(form.rect().contains(rectInForm(form, form.control(name))), qPrintable(name));

    // At the compact height a strip of 60 twips of the traffic display's frame shows.
    form.setViewHeight(5350);
    QCOMPARE(form.rect().intersected(rectInForm(form, form.control("Frame9"))).height(), 4);
}

void TestLayout::onlyCommand34AndThePortPanelAreHiddenAtStart()
{
    Form1 form;
    form.show();
    for (const QString &name : designNames(form)) {
        const bool hidden = name == "Command34" || name == "Frame8";
        QVERIFY2(form.control(name)->isHidden() == hidden, qPrintable(name));
    }
    QVERIFY(!form.control("Option1")->isVisible());
    QVERIFY(!form.control("Option9")->isVisible());
    QVERIFY(form.control("Command17")->isVisible());
}

void TestLayout::linesAndTextBoxStartEmptyAndOnlyTheSpeed19200IsSelected()
{
    Form1 form;
    QCOMPARE(form.control<QLabel>("Label11")->text(), QString());
    QCOMPARE(form.control<QLabel>("Label12")->text(), QString());
    QCOMPARE(form.control<QLabel>("Label22")->text(), QString());
    QCOMPARE(form.control<QLineEdit>("Text1")->text(), QString());
    QCOMPARE(form.control<QRadioButton>("Option9")->text(), QStringLiteral("19200"));
    QVERIFY(form.control<QRadioButton>("Option9")->isChecked());
    QVERIFY(!form.control<QRadioButton>("Option10")->isChecked());
    QVERIFY(!form.control<QRadioButton>("Option1")->isChecked());
    QVERIFY(!form.control<QRadioButton>("Option2")->isChecked());
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

void TestLayout::tabFromKeystoneMinusReachesTempOutOfViewAtCompactHeight()
{
    Form1 form;
    form.placeAtStart();
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.control("Command51")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);

    auto *temp = form.control<QPushButton>("Command54");
    QCOMPARE(QApplication::focusWidget(), temp);
    QVERIFY(!form.rect().intersects(rectInForm(form, temp)));
    QSignalSpy clicked(temp, &QPushButton::clicked);
    QTest::keyClick(temp, Qt::Key_Space);
    QCOMPARE(clicked.count(), 1);
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

void TestLayout::linesAreViolet2PixelsWideAndBeneathTheControls()
{
    Form1 form;
    const QImage picture = form.grab().toImage();
    const QColor violet(128, 128, 255);
    const QColor silver(192, 192, 192);
    // Line1 runs down x = 1080 twips (72 px) from y = 2400 to 2880 twips (160 to 192 px).
    QCOMPARE(picture.pixelColor(71, 176), violet);
    QCOMPARE(picture.pixelColor(72, 176), violet);
    QCOMPARE(picture.pixelColor(70, 176), silver);
    QCOMPARE(picture.pixelColor(73, 176), silver);
    // Line7 runs along y = 2400 twips (160 px) from x = 1080 to 2160 twips.
    QCOMPARE(picture.pixelColor(108, 159), violet);
    QCOMPARE(picture.pixelColor(108, 160), violet);
    QCOMPARE(picture.pixelColor(108, 158), silver);

    const QObjectList stack = form.children();
    qsizetype highestLine = -1;
    qsizetype lowestOther = stack.size();
    for (qsizetype i = 0; i < stack.size(); ++i) {
        if (qobject_cast<PanelLine *>(stack[i]))
            highestLine = i;
        else if (stack[i]->isWidgetType() && lowestOther == stack.size())
            lowestOther = i;
    }
    QVERIFY(highestLine < lowestOther);
}

void TestLayout::twipsArePlacedAtTheNearestPixelInsideTheirContainer()
{
    Form1 form;
    // Frame1 at 120, 240, 1695 x 975; the ON button at 120, 600 inside it.
    QCOMPARE(form.control("Frame1")->geometry(), QRect(8, 16, 113, 65));
    QCOMPARE(form.control("Command17")->geometry(), QRect(8, 40, 41, 20));
    QCOMPARE(rectInForm(form, form.control("Command17")), QRect(16, 56, 41, 20));
    // Option9 in Frame13 in Frame8: 3480 + 120 + 120, 3600 + 480 + 240.
    QCOMPARE(rectInForm(form, form.control("Option9")), QRect(248, 288, 73, 17));
    // Sizes off the 15-twip grid round to the nearest pixel.
    QCOMPARE(form.control("Frame9")->geometry(), QRect(3, 328, 421, 86));     // 45, 6312
    QCOMPARE(form.control("Label12")->geometry(), QRect(40, 36, 374, 20));    // 5616
    QCOMPARE(form.control("Command54")->geometry(), QRect(560, 376, 65, 17)); // 252
    QCOMPARE(form.control("Command13")->geometry(), QRect(560, 184, 65, 17)); // 250
    QCOMPARE(form.control("Text1")->geometry(), QRect(40, 11, 337, 23));      // 165, 345
}

void TestLayout::coloursAndFontsFollowTheDesignNames()
{
    Form1 form;
    QCOMPARE(form.palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(form.font().families(), QStringList({"ＭＳ ゴシック", "IPAGothic", "monospace"}));
    QCOMPARE(form.font().pointSizeF(), 9.0);
    QCOMPARE(form.font().weight(), QFont::Normal);

    QCOMPARE(form.control("Command17")->palette().color(QPalette::Button), QColor(192, 255, 192));
    QCOMPARE(form.control("Command6")->palette().color(QPalette::Button), QColor(255, 128, 0));
    QCOMPARE(form.control("Command13")->palette().color(QPalette::Button), QColor(0, 192, 192));
    QCOMPARE(form.control("Command33")->palette().color(QPalette::Button),
             QApplication::palette().color(QPalette::Button));
    QCOMPARE(form.control("Label1")->palette().color(QPalette::WindowText), QColor(192, 0, 0));
    QCOMPARE(form.control("Label22")->palette().color(QPalette::Window), QColor(255, 255, 255));
    QCOMPARE(form.control("Label22")->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    const QFont on = form.control("Command17")->font();
    QCOMPARE(on.families().value(0), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(on.pointSizeF(), 9.0);
    QCOMPARE(on.weight(), QFont::Bold);
    const QFont txd = form.control("Label11")->font();
    QCOMPARE(txd.families().value(0), QStringLiteral("ＭＳ Ｐゴシック"));
    QCOMPARE(txd.pointSizeF(), 9.75);
    QCOMPARE(txd.weight(), QFont::Bold);
    const QFont status = form.control("Label23")->font();
    QCOMPARE(status.families().value(0), QStringLiteral("ＭＳ ゴシック"));
    QCOMPARE(status.pointSizeF(), 8.25);
    QCOMPARE(status.weight(), QFont::Normal);
    QCOMPARE(form.control("Command6")->font(), form.font());

    auto *power = form.control<QLabel>("Label1");
    QVERIFY(power->alignment().testFlag(Qt::AlignHCenter));
    QVERIFY(form.control<QLabel>("Label9")->alignment().testFlag(Qt::AlignRight));
    QVERIFY(form.control<QLabel>("Label13")->alignment().testFlag(Qt::AlignLeft));
    QVERIFY(form.control<PanelLabel>("Label11")->hasSingleBorder());
    QVERIFY(!form.control<PanelLabel>("Label9")->hasSingleBorder());
}

void TestLayout::pictureIsShownUnscaledFromTheResources()
{
    Form1 form;
    auto *picture = form.control<QLabel>("Image1");
    QCOMPARE(picture->geometry(), QRect(544, 8, 80, 26));
    QCOMPARE(picture->pixmap().size(), QSize(80, 26));
    QVERIFY(!picture->hasScaledContents());
    QCOMPARE(picture->focusPolicy(), Qt::NoFocus);
}

void TestLayout::noButtonCaptionIsClipped_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("inDesignSize");

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
    QFETCH(bool, inDesignSize);
    Form1 form;
    auto *button = form.control<PanelButton>(name);
    button->setText(caption);

    const QFont drawn = button->captionFont();
    if (inDesignSize)
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

void TestLayout::displayClearWrapsOntoTwoLines()
{
    Form1 form;
    auto *button = form.control<PanelButton>("Command3");
    const QFontMetrics metrics(button->captionFont(), button);
    QVERIFY(metrics.horizontalAdvance(button->text()) > button->captionArea().width());
    const QRect bounds = button->captionBounds();
    QVERIFY(bounds.height() >= 2 * metrics.height() && bounds.height() < 3 * metrics.height());
    QVERIFY(bounds.width() <= metrics.boundingRect(QStringLiteral("DISPLAY")).width() + 1);
    QVERIFY(button->captionArea().contains(bounds));
}

void TestLayout::startPositionCentresByTheFullSizeWithoutClamping_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QSize>("outer");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("large screen") << QRect(0, 0, 1921, 1080) << QSize(633, 582) << QPoint(644, 249);
    QTest::newRow("title bar known")
        << QRect(0, 0, 1281, 1024) << QSize(635, 612) << QPoint(323, 206);
    QTest::newRow("screen smaller than the window, not clamped")
        << QRect(0, 0, 601, 400) << QSize(633, 582) << QPoint(-16, -91);
    QTest::newRow("second screen")
        << QRect(1920, 0, 1281, 1024) << QSize(633, 582) << QPoint(1920 + 324, 221);
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
