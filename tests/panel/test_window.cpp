// The window at its four heights and on scaled displays (QT_SCALE_FACTOR, or an X screen's
// Xft.dpi; ZRA70_TEST_SCALE names the factor a run expects): what is in view, the focus order,
// what lies on top, and every caption drawn whole in device pixels.
#include "form1.h"
#include "layout_table.h"
#include "panel_geometry.h"
#include "panel_widgets.h"
#include "view_switcher.h"

#include <QApplication>
#include <QPainter>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <cmath>

namespace {

const qreal Scale = qEnvironmentVariable("ZRA70_TEST_SCALE", QStringLiteral("1")).toDouble();

QRect rectInForm(const Form1 &form, const QWidget *widget)
{
    return {widget->mapTo(&form, QPoint(0, 0)), widget->size()};
}

// Empty when draw(), painting `widget`'s caption into `inWidget` on an unclipped canvas with the
// window's device-pixel grid, inks only the device pixels of that rectangle (an edge that falls
// inside a device pixel keeps that pixel); else what went out.
QString inkOutside(const QWidget *widget, const QRect &inWidget, const QString &caption,
                   const std::function<void(QPainter &, const QRect &)> &draw)
{
    const QRect area(widget->mapTo(widget->window(), inWidget.topLeft()), inWidget.size());
    const QRect device =
        QRectF(QPointF(area.topLeft()) * Scale, QSizeF(area.size()) * Scale).toAlignedRect();
    const QRect around = device.adjusted(-48, -48, 48, 48);
    QImage canvas(around.size(), QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(Scale);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.translate(-QPointF(around.topLeft()) / Scale);
        painter.setPen(Qt::black);
        draw(painter, area);
    }
    QRect ink;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (qAlpha(canvas.pixel(x, y)) > 24)
                ink |= QRect(around.topLeft() + QPoint(x, y), QSize(1, 1));
    if (!ink.isEmpty() && device.contains(ink))
        return {};
    return QStringLiteral("%1 %2: ink %3 outside %4")
        .arg(widget->objectName(), caption, QDebug::toString(ink), QDebug::toString(device));
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    // Client bottoms 4980, 6275, 6830 and 8730 twips; the bands each height shows.
    void eachHeightKeepsTheWidthAndShowsItsBands_data()
    {
        QTest::addColumn<int>("outerTwips");
        QTest::addColumn<int>("clientHeight");
        QTest::addColumn<QStringList>("wholly");
        QTest::addColumn<QStringList>("partly");
        QTest::addColumn<QStringList>("notAtAll");
        QTest::newRow("compact: down to the IMAGE4 row")
            << 5350 << 332 << QStringList{"Command16", "Command42", "Command37", "Frame10"}
            << QStringList{"Frame9"} << QStringList{"Label11", "Command44", "Command34", "Frame14"};
        QTest::newRow("data: the traffic lines and status queries")
            << 6645 << 418 << QStringList{"Label11", "Label12", "Label22", "Command34", "Command55"}
            << QStringList{} << QStringList{"Frame14", "Command36", "Text1"};
        QTest::newRow("extended: the top edge of the extended inputs")
            << 7200 << 455 << QStringList{"Frame9", "Command55"} << QStringList{"Frame14"}
            << QStringList{"Command64", "Command36", "Text1"};
        QTest::newRow("full") << 9100 << 582 << QStringList{} << QStringList{} << QStringList{};
    }
    void eachHeightKeepsTheWidthAndShowsItsBands()
    {
        QFETCH(int, outerTwips);
        QFETCH(int, clientHeight);
        QFETCH(QStringList, wholly);
        QFETCH(QStringList, partly);
        QFETCH(QStringList, notAtAll);
        Form1 form;
        form.setViewHeight(outerTwips);
        QCOMPARE(form.windowTitle(), QStringLiteral("TAVO   ZRA70_20  CONTROL   Ver.1.40"));
        QCOMPARE(form.minimumSize(), QSize(633, clientHeight));
        QCOMPARE(form.maximumSize(), QSize(633, clientHeight));
        QCOMPARE(form.devicePixelRatioF(), Scale);
        QVERIFY(qAbs(form.grab().toImage().height() - clientHeight * Scale) <= 1);
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

    // Twips to logical pixels, container offsets added, whatever the scale.
    void theFullHeightShowsEveryControlWhereItsTwipsPutIt()
    {
        Form1 form;
        form.control("Frame8")->show();
        QCOMPARE(rectInForm(form, form.control("Frame9")), QRect(3, 328, 421, 86));
        QCOMPARE(rectInForm(form, form.control("Option9")), QRect(248, 288, 73, 17));
        QCOMPARE(rectInForm(form, form.control("Text1")), QRect(48, 547, 337, 23));
        for (const layout::ControlSpec &row : layout::controls()) {
            const QWidget *widget = form.control(QLatin1String(row.name));
            QVERIFY2(form.rect().contains(rectInForm(form, widget)), row.name);
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

    void thePortPanelLiesOnTopOfComAndTakesItsClicks()
    {
        Form1 form;
        form.setViewHeight(5350);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        auto *com = form.control<QPushButton>("Command33");
        const QPoint centre = rectInForm(form, com).center();
        QSignalSpy clicked(com, &QPushButton::clicked);
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, centre);
        QCOMPARE(clicked.count(), 1);
        form.control("Frame8")->show();
        QVERIFY(form.control("Frame8")->isAncestorOf(form.childAt(centre)));
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, centre);
        QCOMPARE(clicked.count(), 1);
    }

    // Every caption (and the data toggle's other two) is drawn whole inside its bevel;
    // labels and options are drawn uncut here, so what their edges would cut off shows.
    void everyCaptionIsDrawnWhole()
    {
        Form1 form;
        form.control("Frame8")->show();
        QStringList cut;
        for (PanelButton *button : form.findChildren<PanelButton *>()) {
            QStringList captions{button->text()};
            if (button->objectName() == "Command34")
                captions << ViewSwitcher::HideDataCaption << ViewSwitcher::CloseCaption;
            for (const QString &caption : captions) {
                button->setText(caption);
                cut << inkOutside(button, button->captionArea(), caption,
                                  [&](QPainter &painter, const QRect &area) {
                                      button->drawCaption(painter, area);
                                  });
            }
        }
        for (const QWidget *widget : form.findChildren<QWidget *>()) {
            QRect text;
            QString caption;
            int alignment = Qt::AlignLeft | Qt::AlignVCenter;
            if (const auto *label = qobject_cast<const QLabel *>(widget)) {
                text = label->contentsRect();
                caption = label->text();
                alignment = int(label->alignment());
            } else if (const auto *option = qobject_cast<const QRadioButton *>(widget)) {
                QStyleOptionButton style;
                style.initFrom(option);
                style.text = caption = option->text();
                text =
                    option->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, option);
            }
            if (!caption.isEmpty())
                cut << inkOutside(widget, text, caption, [&](QPainter &painter, const QRect &area) {
                    painter.setFont(widget->font());
                    widget->style()->drawItemText(&painter, area, alignment | Qt::TextDontClip,
                                                  widget->palette(), true, caption);
                });
        }
        const auto buttons = std::ranges::count_if(
            layout::controls(), [](const auto &row) { return row.kind == layout::Kind::Button; });
        QCOMPARE(cut.size(), buttons + 2 + 19 + 4); // 19 captioned labels, 4 options
        cut.removeAll(QString());
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    }

    void theWindowIsCentredByItsFullSizeWithoutClamping()
    {
        QCOMPARE(startPosition(QRect(0, 0, 1921, 1080), QSize(633, 582)), QPoint(644, 249));
        QCOMPARE(startPosition(QRect(0, 0, 601, 400), QSize(633, 582)), QPoint(-16, -91));
    }
};

QTEST_MAIN(WindowTest)
#include "test_window.moc"
