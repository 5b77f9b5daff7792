// The window on a scaled display (QT_SCALE_FACTOR, or an X screen's Xft.dpi): the same layout in
// logical pixels, drawn in proportion in device pixels, and every caption readable in full.
// CTest runs this once per scale factor; ZRA70_TEST_SCALE names the factor the run expects.
#include "form1.h"
#include "panel_widgets.h"

#include <QPainter>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <cmath>
#include <functional>

namespace {

qreal expectedScale()
{
    return qEnvironmentVariable("ZRA70_TEST_SCALE", QStringLiteral("1")).toDouble();
}

QRect rectInForm(const Form1 &form, const QWidget *widget)
{
    return {widget->mapTo(&form, QPoint(0, 0)), widget->size()};
}

int twipsToLogical(int twips)
{
    return qRound(twips / 15.0);
}

// The device pixels (in window coordinates) that draw() inks when it paints in window
// coordinates around `near`. The canvas is not clipped to any widget, so ink that a widget's edge
// would cut off is seen too; it keeps the window's device-pixel grid so glyphs land as on screen.
QRect inkedDevicePixels(const QRect &near, qreal ratio, const std::function<void(QPainter &)> &draw)
{
    const QRect around = near.adjusted(-24, -24, 24, 24);
    const QPoint origin(int(std::floor(around.x() * ratio)), int(std::floor(around.y() * ratio)));
    QImage canvas(int(std::ceil(around.width() * ratio)) + 2,
                  int(std::ceil(around.height() * ratio)) + 2, QImage::Format_ARGB32_Premultiplied);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.translate(-QPointF(origin) / ratio);
        painter.setPen(Qt::black);
        draw(painter);
    }
    QRect ink;
    for (int y = 0; y < canvas.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            if (qAlpha(row[x]) > 24)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink.translated(origin);
}

// Ink is clipped where it leaves the widget's device pixels; a widget edge that falls inside a
// device pixel keeps that pixel.
bool insideInDevicePixels(const QRect &ink, const QRect &logical, qreal ratio)
{
    const QRectF device(QPointF(logical.topLeft()) * ratio, QSizeF(logical.size()) * ratio);
    return ink.left() >= std::floor(device.left()) && ink.top() >= std::floor(device.top()) &&
           ink.x() + ink.width() <= std::ceil(device.right()) &&
           ink.y() + ink.height() <= std::ceil(device.bottom());
}

QString describe(const QRect &ink, const QRect &logical, qreal ratio)
{
    return QStringLiteral("ink %1 outside %2 x %3")
        .arg(QDebug::toString(ink), QDebug::toString(logical))
        .arg(ratio);
}

} // namespace

class TestScaling : public QObject {
    Q_OBJECT

private slots:
    void windowIsDrawnAtTheExpectedScale();
    void controlsKeepTheirTwipsPositionInLogicalPixels_data();
    void controlsKeepTheirTwipsPositionInLogicalPixels();
    void buttonCaptionsStayInsideTheBevel_data();
    void buttonCaptionsStayInsideTheBevel();
    void labelAndOptionCaptionsStayInsideTheirControl();
};

void TestScaling::windowIsDrawnAtTheExpectedScale()
{
    const qreal scale = expectedScale();
    Form1 form;
    QCOMPARE(form.devicePixelRatioF(), scale);
    // 9495 x 8730 twips at the full height, in logical pixels whatever the scale.
    QCOMPARE(form.size(), QSize(633, 582));
    const QImage picture = form.grab().toImage();
    QVERIFY(qAbs(picture.width() - 633 * scale) <= 1);
    QVERIFY(qAbs(picture.height() - 582 * scale) <= 1);
}

void TestScaling::controlsKeepTheirTwipsPositionInLogicalPixels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips"); // on the client area: the containers' offsets added
    QTest::newRow("Frame1, power group") << "Frame1" << QRect(120, 240, 1695, 975);
    QTest::newRow("Option9 in Frame13 in Frame8") << "Option9" << QRect(3720, 4320, 1095, 255);
    QTest::newRow("Frame9, 45 and 6312 off the grid") << "Frame9" << QRect(45, 4920, 6312, 1290);
    QTest::newRow("Text1 in Frame15") << "Text1" << QRect(720, 8205, 5055, 345);
}

void TestScaling::controlsKeepTheirTwipsPositionInLogicalPixels()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    Form1 form;
    form.control("Frame8")->show();
    const QRect expected(twipsToLogical(twips.x()), twipsToLogical(twips.y()),
                         twipsToLogical(twips.width()), twipsToLogical(twips.height()));
    QCOMPARE(rectInForm(form, form.control(name)), expected);
}

void TestScaling::buttonCaptionsStayInsideTheBevel_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    Form1 form;
    for (const PanelButton *button : form.findChildren<PanelButton *>()) {
        QTest::addRow("%s %s", qPrintable(button->objectName()), qPrintable(button->text()))
            << button->objectName() << button->text();
    }
    // The data toggle's two other captions.
    QTest::newRow("Command34 do not show the data")
        << "Command34" << QStringLiteral("データを表示しない");
    QTest::newRow("Command34 CLOSE") << "Command34"
                                     << "CLOSE";
}

void TestScaling::buttonCaptionsStayInsideTheBevel()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    const qreal scale = expectedScale();
    Form1 form;
    auto *button = form.control<PanelButton>(name);
    button->setText(caption);
    const QRect area(button->mapTo(&form, button->captionArea().topLeft()),
                     button->captionArea().size());
    const QRect ink = inkedDevicePixels(
        area, scale, [&](QPainter &painter) { button->drawCaption(painter, area); });
    QVERIFY2(!ink.isEmpty(), "nothing drawn");
    QVERIFY2(insideInDevicePixels(ink, area, scale), qPrintable(describe(ink, area, scale)));
}

void TestScaling::labelAndOptionCaptionsStayInsideTheirControl()
{
    const qreal scale = expectedScale();
    Form1 form;
    form.control("Frame8")->show();
    // A label or an option draws its caption into a text rectangle and cuts it off at its edges.
    // Drawn the same way but uncut (Qt::TextDontClip), what would be cut off shows.
    const auto check = [&](const QWidget *widget, const QRect &textRect, int alignment,
                           const QString &caption) {
        const QRect text(widget->mapTo(&form, textRect.topLeft()), textRect.size());
        const QRect ink = inkedDevicePixels(text, scale, [&](QPainter &painter) {
            painter.setFont(widget->font());
            widget->style()->drawItemText(&painter, text, alignment | Qt::TextDontClip,
                                          widget->palette(), true, caption);
        });
        return insideInDevicePixels(ink, text, scale)
                   ? QString()
                   : widget->objectName() + ' ' + describe(ink, text, scale);
    };

    QStringList cut;
    int checked = 0;
    for (const QLabel *label : form.findChildren<QLabel *>()) {
        if (label->text().isEmpty())
            continue; // the three lines and the picture
        cut << check(label, label->contentsRect(), int(label->alignment()), label->text());
        ++checked;
    }
    for (const QRadioButton *option : form.findChildren<QRadioButton *>()) {
        QStyleOptionButton style;
        style.initFrom(option);
        style.text = option->text();
        const QRect contents =
            option->style()->subElementRect(QStyle::SE_RadioButtonContents, &style, option);
        cut << check(option, contents, Qt::AlignLeft | Qt::AlignVCenter, option->text());
        ++checked;
    }
    cut.removeAll(QString());
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    // 19 captioned labels and 4 options.
    QCOMPARE(checked, 23);
}

QTEST_MAIN(TestScaling)
#include "test_scaling.moc"
