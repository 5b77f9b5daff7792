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

private slots:
    // Codes and command-line names are well formed and unique, and the simulated projector knows
    // every code from its own list: a command is acknowledged, a query answered, anything else
    // refused.
    void everyCodeAndNameIsWellFormedUniqueAndKnown()
    {
        QList<std::pair<const char *, const char *>> rows; // code, command-line name
        for (const CommandButton &row : commandVocabulary())
            rows.emplaceBack(row.code, row.cliName);
        for (const Adjuster &row : adjusters())
            rows.emplaceBack(row.code, row.cliName);
        const QRegularExpression code(
            QStringLiteral("^(C[0-9A-F]{2}|CR[0-9A-Z]|CR PRESSURE|CF( [A-Z0-9-]+)+)$"));
        const QRegularExpression name(QStringLiteral("^[a-z0-9]+(-[a-z0-9]+)*$"));
        QSet<QString> codes, names;
        for (const auto &[rowCode, rowName] : rows) {
            QVERIFY2(code.match(QLatin1String(rowCode)).hasMatch(), rowCode);
            QVERIFY2(name.match(QLatin1String(rowName)).hasMatch(), rowName);
            const QByteArray reply =
                ProjectorModel().feed(QByteArray(rowCode) + '\r', 0).value(0).reply;
            QVERIFY2(!reply.isEmpty() && reply != "\x15", rowCode);
            codes.insert(QLatin1String(rowCode));
            names.insert(QLatin1String(rowName));
        }
        QCOMPARE(codes.size(), rows.size());
        QCOMPARE(names.size(), rows.size());
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
        QVERIFY(!findCommand("pressure")->name);
        QCOMPARE(findAdjuster("keystone-down")->code, "C8F");
    }
};

QTEST_GUILESS_MAIN(CommandTableTest)
#include "test_command_table.moc"
