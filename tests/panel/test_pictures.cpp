// The window as it is drawn, compared pixel for pixel with the pictures in reference/: at each of
// its four heights, and at the full height scaled by 1.25, 1.5 and 2 (QT_SCALE_FACTOR, or an X
// screen's Xft.dpi, which gives the same pixels). The environment is pinned by CMakeLists.txt
// (fonts, style, dots per inch), so a difference is a change of what the user sees: a caption, a
// colour, a font, a position, a size, a caption cut by its button when scaled. On a difference the
// picture got and a difference picture are written side by side in picture-differences/.
// ZRA70_REMAKE_REFERENCES=1 (scripts/remake-references.sh) writes the references instead.
#include "form1.h"
#include "panel_geometry.h"
#include "traffic_line.h"
#include "view_switcher.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>

namespace {

const std::pair<const char *, int> Views[] = {{"compact", kCompactHeightTwips},
                                              {"data", kDataHeightTwips},
                                              {"extended", kExtendedHeightTwips},
                                              {"full", kFullHeightTwips}};

// Each height as the user meets it: the toggle shown and the traffic lines filled once the data
// area is in view, and at the full height "COM" pressed, its options lying over it.
QImage drawn(int outerTwips)
{
    Form1 form;
    form.setViewHeight(outerTwips);
    if (outerTwips != kCompactHeightTwips) {
        form.setToggleCaption(outerTwips == kDataHeightTwips ? ViewSwitcher::HideDataCaption
                                                             : ViewSwitcher::CloseCaption);
        form.showToggle();
        const Form1::Controls &c = form.controls();
        c.Label11->setText(QStringLiteral(" C R   P R E S S U R E CR "));
        c.Label12->setText(QStringLiteral(" 8 5 3 CR "));
        c.Label22->setText(QStringLiteral(" 1013 hPa"));
        c.Text1->setText(QStringLiteral("CR PRESSURE"));
    }
    if (outerTwips == kFullHeightTwips)
        form.showPortPanel();
    return form.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The differing pixels in red on a faded copy of the reference, and how many there are.
std::pair<QImage, int> differences(const QImage &reference, const QImage &got)
{
    QImage marked(reference.size(), QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < got.height(); ++y) {
        for (int x = 0; x < got.width(); ++x) {
            const int faded = 160 + qGray(reference.pixel(x, y)) * 95 / 255;
            const bool differs = got.pixel(x, y) != reference.pixel(x, y);
            count += differs;
            marked.setPixel(x, y, differs ? qRgb(255, 0, 0) : qRgb(faded, faded, faded));
        }
    }
    return {marked, count};
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT
private slots:
    void theWindowLooksAsItsReference_data()
    {
        QTest::addColumn<int>("outerTwips");
        const qreal scale = qApp->devicePixelRatio();
        for (const auto &[name, outerTwips] : Views) {
            if (scale == 1)
                QTest::newRow(name) << outerTwips;
            else if (outerTwips == kFullHeightTwips) // scaled, the fullest view only
                QTest::addRow("%s-%gx", name, scale) << outerTwips;
        }
    }
    void theWindowLooksAsItsReference()
    {
        QFETCH(int, outerTwips);
        const QImage got = drawn(outerTwips);
        const QString name = QString::fromLatin1(QTest::currentDataTag()) + ".png";
        const QString reference = QStringLiteral(ZRA70_REFERENCE_DIR "/") + name;
        if (qEnvironmentVariableIsSet("ZRA70_REMAKE_REFERENCES")) {
            QVERIFY(got.save(reference, "PNG", 0));
            return;
        }
        const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
        QVERIFY2(!expected.isNull(), qPrintable(reference + " is missing"));
        if (got == expected)
            return;
        QDir here;
        QVERIFY(here.mkpath(QStringLiteral("picture-differences")));
        const QString out = here.absoluteFilePath(QStringLiteral("picture-differences/") + name);
        QVERIFY(got.save(out));
        QCOMPARE(got.size(), expected.size()); // the picture got is in picture-differences/
        const auto [marked, count] = differences(expected, got);
        const QString diff = QString(out).replace(".png", "-diff.png");
        QVERIFY(marked.save(diff));
        QFAIL(qPrintable(QStringLiteral("%1 pixels differ from %2: see %3 and %4")
                             .arg(count)
                             .arg(reference, out, diff)));
    }
};

QTEST_MAIN(PicturesTest)
#include "test_pictures.moc"
