// What a screen reader finds on the panel: a spoken name for every button, label, option, the
// picture and the command box, and groups named by their titles. The traffic and status lines are
// read through the accessibility bus by screen_reader.py.
#include "form1.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLabel>
#include <QTest>

namespace {

QAccessibleInterface *accessibleOf(const Form1 &form, const QString &name)
{
    QWidget *widget = form.control(name);
    return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT

private slots:
    void controlsHaveTheirSpokenNameAndRole_data();
    void controlsHaveTheirSpokenNameAndRole();
    void everyButtonLabelAndOptionHasASpokenName();
};

void TestAccessibility::controlsHaveTheirSpokenNameAndRole_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("spoken");
    QTest::addColumn<QAccessible::Role>("role");
    const struct {
        const char *name;
        QString spoken;
        QAccessible::Role role;
    } rows[] = {
        // Captioned controls are spoken by their caption.
        {"Command17", "ON", QAccessible::Button},
        {"Command34", QStringLiteral("データを表示する"), QAccessible::Button},
        {"Label2", "INPUT MODE SET", QAccessible::StaticText},
        // Arrows and adjusters say what they do, not their glyph.
        {"Command5", "Up", QAccessible::Button},
        {"Command1", "VOL +", QAccessible::Button},
        {"Command48", "D.Zoom +", QAccessible::Button},
        // The picture, the command box and the groups.
        {"Image1", "ZRA70 logo (double click for the full view)", QAccessible::Graphic},
        {"Text1", "Command text", QAccessible::EditableText},
        {"Frame1", "POWER", QAccessible::Grouping},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << QString::fromLatin1(row.name) << row.spoken << row.role;
}

void TestAccessibility::controlsHaveTheirSpokenNameAndRole()
{
    QFETCH(QString, name);
    QFETCH(QString, spoken);
    QFETCH(QAccessible::Role, role);
    Form1 form;
    QAccessibleInterface *iface = accessibleOf(form, name);
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), spoken);
    QCOMPARE(iface->role(), role);
}

void TestAccessibility::everyButtonLabelAndOptionHasASpokenName()
{
    Form1 form;
    for (QWidget *widget : form.findChildren<QWidget *>()) {
        if (!qobject_cast<QAbstractButton *>(widget) && !qobject_cast<QLabel *>(widget))
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(iface, qPrintable(widget->objectName()));
        QVERIFY2(!iface->text(QAccessible::Name).trimmed().isEmpty(),
                 qPrintable(widget->objectName()));
    }
}

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
