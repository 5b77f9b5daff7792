// The window's focus order, its fixed size and its place at start. How it is drawn at each height
// and scale, and so its sizes, is in the reference pictures (test_pictures).
#include "form1.h"
#include "panel_geometry.h"

#include <QApplication>
#include <QTest>

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void focusStartsOnPowerOnAndTabFollowsTheTabColumn()
    {
        Form1 form;
        form.setViewHeight(9100);
        QCOMPARE(form.minimumSize(), form.maximumSize()); // the user cannot resize it
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
