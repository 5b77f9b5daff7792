// The window at its four heights and on scaled displays (QT_SCALE_FACTOR, or an X screen's
// Xft.dpi; ZRA70_TEST_SCALE names the factor a run expects): its fixed sizes in device pixels, and
// the focus order. How it is drawn at each scale is in the reference pictures (test_pictures).
#include "form1.h"
#include "panel_geometry.h"

#include <QApplication>
#include <QTest>

namespace {
const qreal Scale = qEnvironmentVariable("ZRA70_TEST_SCALE", QStringLiteral("1")).toDouble();
}

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    // Fixed at the client bottoms 4980, 6275, 6830 and 8730 twips, in device pixels at any scale;
    // what each height shows is in the reference pictures (test_pictures).
    void eachHeightIsFixedAtItsClientBottom()
    {
        for (const auto &[outerTwips, clientHeight] :
             {std::pair{5350, 332}, {6645, 418}, {7200, 455}, {9100, 582}}) {
            Form1 form;
            form.setViewHeight(outerTwips);
            QCOMPARE(form.minimumSize(), QSize(633, clientHeight));
            QCOMPARE(form.maximumSize(), QSize(633, clientHeight));
            QCOMPARE(form.devicePixelRatioF(), Scale);
            QVERIFY(qAbs(form.grab().toImage().height() - clientHeight * Scale) <= 1);
        }
    }

    void focusStartsOnPowerOnAndTabFollowsTheTabColumn()
    {
        if (Scale != 1)
            QSKIP("the focus order does not depend on the scale");
        Form1 form;
        form.setViewHeight(9100);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 61; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        // Frames, labels, the picture and hidden controls are passed over.
        QCOMPARE(visited.mid(0, 4), (QStringList{"Command17", "Command1", "Command2", "Command3"}));
        QCOMPARE(visited.mid(49, 4), (QStringList{"Command82", "Text1", "Command95", "Command96"}));
        QCOMPARE(visited.last(), QStringLiteral("Command17"));
        QCOMPARE(QSet<QString>(visited.begin(), visited.end()).size(), 61);
    }

    void theWindowIsCentredByItsFullSizeWithoutClamping()
    {
        QCOMPARE(startPosition(QRect(0, 0, 1921, 1080), QSize(633, 582)), QPoint(644, 249));
        QCOMPARE(startPosition(QRect(0, 0, 601, 400), QSize(633, 582)), QPoint(-16, -91));
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
