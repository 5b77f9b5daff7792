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

// The device pixels of colour that run on from start in direction step, start included; the
// run stops at the first pixel of another colour, so a neighbour of the same colour beyond an
// edge does not count.
int runEnd(const QImage &image, const QColor &colour, QPoint start, QPoint step)
{
    QPoint at = start;
    while (image.rect().contains(at + step) && image.pixelColor(at + step) == colour)
        at += step;
    return step.x() ? at.x() : at.y();
}

} // namespace

class TestScaling : public QObject {
    Q_OBJECT

private slots:
    void windowIsDrawnAtTheExpectedScale();
    void controlsKeepTheirTwipsPositionInLogicalPixels_data();
    void controlsKeepTheirTwipsPositionInLogicalPixels();
    void filledControlsCoverTheirPlaceTimesTheScale_data();
    void filledControlsCoverTheirPlaceTimesTheScale();
    void decorativeLinesAreTwoPixelsTimesTheScale();
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
    QTest::newRow("Command17 in Frame1") << "Command17" << QRect(240, 840, 615, 300);
    QTest::newRow("Command3, 492 high") << "Command3" << QRect(8400, 3600, 975, 492);
    QTest::newRow("Option9 in Frame13 in Frame8") << "Option9" << QRect(3720, 4320, 1095, 255);
    QTest::newRow("Frame9, 45 and 6312 off the grid") << "Frame9" << QRect(45, 4920, 6312, 1290);
    QTest::newRow("Label12 in Frame9, 5616 wide") << "Label12" << QRect(645, 5460, 5616, 300);
    QTest::newRow("Command54, 252 high") << "Command54" << QRect(8400, 5640, 975, 252);
    QTest::newRow("Image1, the picture") << "Image1" << QRect(8160, 120, 1200, 390);
    QTest::newRow("Text1 in Frame15") << "Text1" << QRect(720, 8205, 5055, 345);
    QTest::newRow("Command96 in Frame15") << "Command96" << QRect(6600, 8280, 615, 255);
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

void TestScaling::filledControlsCoverTheirPlaceTimesTheScale_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QColor>("fill");
    QTest::addColumn<int>("edge"); // logical pixels of bevel or border around the fill
    QTest::newRow("power ON, green")
        << "Command17" << QRect(240, 840, 615, 300) << QColor(192, 255, 192) << 2;
    QTest::newRow("SELECT, orange")
        << "Command6" << QRect(1200, 3000, 855, 375) << QColor(255, 128, 0) << 2;
    QTest::newRow("A-IMAGE, teal, 250 high")
        << "Command13" << QRect(8400, 2760, 975, 250) << QColor(0, 192, 192) << 2;
    QTest::newRow("DISPLAY CLEAR, blue")
        << "Command3" << QRect(8400, 3600, 975, 492) << QColor(192, 192, 255) << 2;
    QTest::newRow("CLS in Frame15, pink")
        << "Command96" << QRect(6600, 8280, 615, 255) << QColor(255, 192, 192) << 2;
    QTest::newRow("RXD line, white in a 1-pixel border")
        << "Label12" << QRect(645, 5460, 5616, 300) << QColor(255, 255, 255) << 1;
}

void TestScaling::filledControlsCoverTheirPlaceTimesTheScale()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QColor, fill);
    QFETCH(int, edge);
    const qreal scale = expectedScale();
    Form1 form;
    const QImage picture = form.grab().toImage();
    const int left = twipsToLogical(twips.x());
    const int top = twipsToLogical(twips.y());
    const int right = left + twipsToLogical(twips.width()); // exclusive
    const int bottom = top + twipsToLogical(twips.height());

    // From points of the fill just inside the top-left and the top-right corner outwards:
    // captions are centred and do not reach the corners.
    const QPoint topLeft(int((left + edge + 0.5) * scale), int((top + edge + 0.5) * scale));
    const QPoint topRight(int((right - edge - 0.5) * scale), topLeft.y());
    QCOMPARE(picture.pixelColor(topLeft), fill);
    QCOMPARE(picture.pixelColor(topRight), fill);
    const int first = runEnd(picture, fill, topLeft, {-1, 0});
    const int last = runEnd(picture, fill, topRight, {1, 0}) + 1;
    const int upper = runEnd(picture, fill, topLeft, {0, -1});
    const int lower = runEnd(picture, fill, topLeft, {0, 1}) + 1;
    const QRectF expected(QPointF(left + edge, top + edge) * scale,
                          QPointF(right - edge, bottom - edge) * scale);
    const QString found = QStringLiteral("fill %1..%2 x %3..%4, expected %5")
                              .arg(first)
                              .arg(last)
                              .arg(upper)
                              .arg(lower)
                              .arg(QDebug::toString(expected));
    QVERIFY2(qAbs(first - expected.left()) <= 1, qPrintable(found));
    QVERIFY2(qAbs(last - expected.right()) <= 1, qPrintable(found));
    QVERIFY2(qAbs(upper - expected.top()) <= 1, qPrintable(found));
    QVERIFY2(qAbs(lower - expected.bottom()) <= 1, qPrintable(found));
}

void TestScaling::decorativeLinesAreTwoPixelsTimesTheScale()
{
    const qreal scale = expectedScale();
    Form1 form;
    const QImage picture = form.grab().toImage();
    const QColor violet(128, 128, 255);
    // Line1: x = 1080 twips (72 px), y from 2400 to 2880 twips (160 to 192 px); 2 px wide,
    // centred on its x, so pixels 71 and 72.
    const QPoint inside(int(71.5 * scale), int(176 * scale));
    QCOMPARE(picture.pixelColor(inside), violet);
    QVERIFY(qAbs(runEnd(picture, violet, inside, {-1, 0}) - 71 * scale) <= 1);
    QVERIFY(qAbs(runEnd(picture, violet, inside, {1, 0}) + 1 - 73 * scale) <= 1);
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
