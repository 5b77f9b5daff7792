#include "command_requests.h"
#include "command_table.h"
#include "projector_model.h"
#include "reply_decoder.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

// The command tables: their invariants, the projector's own vocabulary as an independent
// check of every code, and a few rows written out.
class CommandTableTest : public QObject {
    Q_OBJECT

    static QList<std::pair<const char *, const char *>> everyRow() // code, command-line name
    {
        QList<std::pair<const char *, const char *>> rows;
        for (const CommandButton &row : commandVocabulary())
            rows.emplaceBack(row.code, row.cliName);
        for (const Adjuster &row : adjusters())
            rows.emplaceBack(row.code, row.cliName);
        return rows;
    }

private slots:
    void codesAndNamesAreWellFormedAndUnique()
    {
        const QRegularExpression code(
            QStringLiteral("^(C[0-9A-F]{2}|CR[0-9A-Z]|CR PRESSURE|CF( [A-Z0-9-]+)+)$"));
        const QRegularExpression name(QStringLiteral("^[a-z0-9]+(-[a-z0-9]+)*$"));
        QSet<QString> codes, names;
        for (const auto &[rowCode, rowName] : everyRow()) {
            QVERIFY2(code.match(QLatin1String(rowCode)).hasMatch(), rowCode);
            QVERIFY2(name.match(QLatin1String(rowName)).hasMatch(), rowName);
            codes.insert(QLatin1String(rowCode));
            names.insert(QLatin1String(rowName));
        }
        QCOMPARE(codes.size(), everyRow().size());
        QCOMPARE(names.size(), everyRow().size());
    }

    // The simulated projector knows the vocabulary from its own list: a command is
    // acknowledged, a query answered, anything else refused.
    void theProjectorKnowsEveryCode()
    {
        for (const auto &[code, name] : everyRow()) {
            ProjectorModel projector;
            const QByteArray reply = projector.feed(QByteArray(code) + '\r', 0).value(0).reply;
            QVERIFY2(!reply.isEmpty() && reply != "\x15", code);
        }
    }

    void theNineStatusQueriesAreTheRowsWhoseRepliesAreDecoded()
    {
        QCOMPARE(statusQueries().size(), 9);
        for (const CommandButton &row : commandVocabulary()) {
            const QByteArray sent = QByteArray(row.code) + '\r';
            const bool decoded = decodeReply(sent, {}, QStringLiteral(" 0 0 CR ")) ||
                                 decodeReply(sent, {}, QStringLiteral(" 1 CR "));
            QCOMPARE(decoded, row.isStatusQuery);
        }
    }

    void eachRepeatCodeSendsItsAdjustersCode()
    {
        for (const Adjuster &row : adjusters())
            QCOMPARE(repeatCommand(row.repeatCode), QByteArray(row.code));
        QVERIFY(repeatCommand(0).isEmpty());
    }

    // The nine image modes, C11 to C19, take the projector seconds to switch.
    void everyImageModeWaitsForALongReply()
    {
        int modes = 0;
        for (const CommandButton &row : commandVocabulary()) {
            const QByteArray code(row.code);
            if (code.size() == 3 && code >= "C11" && code <= "C19") {
                QCOMPARE(row.timing, TimingKind::LongReply);
                ++modes;
            }
        }
        QCOMPARE(modes, 9);
    }

    // What zra70ctl and zra70d wait for a code's reply: its kind's timeout as a panel just
    // started has it, an adjuster's press value, or a typed command's.
    void eachCodeWaitsAsItsKindDoes_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<int>("replyTimeoutMs");
        QTest::newRow("plain, at the start value") << QByteArray("C00") << 500;
        QTest::newRow("image mode") << QByteArray("C13") << 2000;
        QTest::newRow("extended input") << QByteArray("CF INPUT VIDEO VIDEO") << 5000;
        QTest::newRow("typed-only query") << QByteArray("CR PRESSURE") << 2000;
        QTest::newRow("adjuster") << QByteArray("C20") << 25;
        QTest::newRow("arrow, as at start") << QByteArray("C3A") << 500;
        QTest::newRow("anything else, as typed") << QByteArray("cr0") << 2000;
    }
    void eachCodeWaitsAsItsKindDoes()
    {
        QFETCH(QByteArray, code);
        QFETCH(int, replyTimeoutMs);
        const Request request = requestForCode(code);
        QCOMPARE(request.code, code);
        QCOMPARE(request.replyTimeoutMs, replyTimeoutMs);
        QVERIFY(request.displayClearMs >= request.replyTimeoutMs);
    }

    void someRowsWrittenOut()
    {
        QCOMPARE(findCommand("power-on")->code, "C00");
        QCOMPARE(findCommand("fan-mode-l1")->code, "CF FANMODE L1");
        QCOMPARE(findCommand("real")->timing, TimingKind::LongReply);
        QCOMPARE(findCommand("video-s-video")->timing, TimingKind::InputSwitch);
        QCOMPARE(findCommand("menu-on")->timing, TimingKind::ArrowPreparation);
        QVERIFY(!findCommand("pressure")->name);
        QCOMPARE(findAdjuster("keystone-down")->code, "C8F");
        QVERIFY(findAdjuster("d-zoom-up")->isZoom);
        QVERIFY(findAdjuster("cursor-left")->isArrow());
        QCOMPARE(replyTimingOf(TimingKind::InputSwitch)->displayClearMs, 5500);
    }
};

QTEST_GUILESS_MAIN(CommandTableTest)
#include "test_command_table.moc"
