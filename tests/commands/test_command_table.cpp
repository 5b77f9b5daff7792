#include "command_table.h"
#include "reply_decoder.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

// The command table: its invariants, and a few rows written out.
class CommandTableTest : public QObject {
    Q_OBJECT

    static bool decodes(const char *code)
    {
        const QByteArray sent = QByteArray(code) + '\r';
        for (const char *reply : {" 0 0 CR ", " 1 CR "}) {
            if (decodeReply(sent, {}, QString::fromLatin1(reply)))
                return true;
        }
        return false;
    }

private slots:
    void namesAreUniqueLowerCaseWordsWithHyphensAndEachRowSaysWhatItDoes()
    {
        const QRegularExpression shape(QStringLiteral("^[a-z0-9]+(-[a-z0-9]+)*$"));
        QSet<QString> names;
        const auto check = [&](const char *name, const char *description) {
            QVERIFY2(shape.match(QLatin1String(name)).hasMatch(), name);
            QVERIFY2(!names.contains(QLatin1String(name)), name);
            names.insert(QLatin1String(name));
            QVERIFY2(description && *description, name);
        };
        for (const CommandButton &row : commandVocabulary())
            check(row.cliName, row.description);
        for (const Adjuster &row : adjusters())
            check(row.cliName, row.description);
        QCOMPARE(names.size(), 43 + 3 + 13);
    }

    void codesHaveTheThreeShapes()
    {
        const QRegularExpression shape(
            QStringLiteral("^(C[0-9A-F]{2}|CR[0-9A-Z]|CR PRESSURE|CF( [A-Z0-9-]+)+)$"));
        for (const CommandButton &row : commandVocabulary())
            QVERIFY2(shape.match(QLatin1String(row.code)).hasMatch(), row.code);
        for (const Adjuster &row : adjusters())
            QVERIFY2(shape.match(QLatin1String(row.code)).hasMatch(), row.code);
    }

    void theNineStatusQueriesAreTheRowsWhoseRepliesAreDecoded()
    {
        QCOMPARE(statusQueries().size(), 9);
        int withButton = 0;
        for (const CommandButton &row : commandVocabulary()) {
            QCOMPARE(decodes(row.code), row.isStatusQuery);
            withButton += row.isStatusQuery && row.name;
        }
        QCOMPARE(withButton, 6);
        for (const CommandButton &row : commandButtons())
            QVERIFY(row.name);
    }

    void eachRepeatCodeSendsItsAdjustersCode()
    {
        QSet<int> codes;
        for (const Adjuster &row : adjusters()) {
            QCOMPARE(repeatCommand(row.repeatCode), QByteArray(row.code));
            QVERIFY(!codes.contains(row.repeatCode));
            codes.insert(row.repeatCode);
            QCOMPARE(row.isArrow(), row.replyTimeoutMs == 0 && row.displayClearMs == 0);
        }
        QVERIFY(repeatCommand(0).isEmpty());
    }

    void someRowsWrittenOut()
    {
        QCOMPARE(findCommand("power-on")->code, "C00");
        QCOMPARE(findCommand("fan-mode-l2")->code, "CF FANMODE L2");
        QCOMPARE(findCommand("video-s-video")->timing, TimingKind::InputSwitch);
        QCOMPARE(findCommand("pressure")->code, "CR PRESSURE");
        QVERIFY(!findCommand("pressure")->name);
        QCOMPARE(findCommand("menu-on")->timing, TimingKind::ArrowPreparation);
        const Adjuster *keystone = findAdjuster("keystone-down");
        QCOMPARE(keystone->code, "C8F");
        QCOMPARE(keystone->repeatMs, 250);
        QCOMPARE(keystone->replyTimeoutMs, 200);
        QCOMPARE(keystone->displayClearMs, 245);
        QVERIFY(findAdjuster("d-zoom-up")->isZoom);
        QVERIFY(findAdjuster("cursor-left")->isArrow());
        QVERIFY(!findCommand("vol-up"));
        QVERIFY(!findAdjuster("nonsense"));
        QVERIFY(!replyTimingOf(TimingKind::Plain));
        QCOMPARE(replyTimingOf(TimingKind::InputSwitch)->displayClearMs, 5500);
    }
};

QTEST_GUILESS_MAIN(CommandTableTest)
#include "test_command_table.moc"
