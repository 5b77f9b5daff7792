#include "clock.h"
#include "event_loop.h"
#include "profile.h"
#include "rig_setup.h"
#include "scenarios.h"
#include "stats.h"

namespace {

constexpr int Blocks = 5; // the spread is taken over blocks of presses
constexpr const char *VolumePlus = "Command1";

} // namespace

void benchPressToWire(const Profile &profile)
{
    const QString p50Figure = QStringLiteral("Press-to-wire p50, VOL +");
    const QString p99Figure = QStringLiteral("Press-to-wire p99, VOL +");
    auto setup = panelOnFarEnd({p50Figure, p99Figure});
    if (!setup)
        return;
    FarEnd &farEnd = setup->farEnd;
    PanelRig &rig = *setup->rig;

    std::vector<double> all;
    std::vector<double> blockP50;
    std::vector<double> blockP99;
    std::vector<double> block;
    const int perBlock = std::max(1, profile.presses / Blocks);
    for (int i = 0; i < profile.presses; ++i) {
        const qsizetype before = farEnd.count();
        const qint64 pressed = steadyNowNs();
        rig.press(VolumePlus);
        if (!farEnd.waitForCount(before + 1, 2000)) {
            emitRow(missing(p50Figure, QStringLiteral("press %1 sent nothing").arg(i + 1)));
            return;
        }
        const double ms = double(farEnd.arrival(before).ns - pressed) / 1e6;
        rig.release(VolumePlus);
        all.push_back(ms);
        block.push_back(ms);
        if (int(block.size()) == perBlock) {
            blockP50.push_back(percentile(block, 50));
            blockP99.push_back(percentile(block, 99));
            block.clear();
        }
        // The ACK comes back and is shown before the next press; the gap varies so the
        // presses do not lock to the phase of anything else.
        runEventLoopFor(2 + i % 4);
    }
    emitRow(note(QStringLiteral("Press-to-wire: from just before the press is delivered to the "
                                "button to the read that brought its carriage return at the "
                                "peer (a thread blocked on the pty master)")));
    const double p50 = percentile(all, 50);
    const double p99 = percentile(all, 99);
    const QString blocks = QStringLiteral(" ms; blocks of %1: ").arg(perBlock);
    const Spread p50Spread = spreadOf(blockP50);
    const Spread p99Spread = spreadOf(blockP99);
    emitRow(atMost(
        p50Figure,
        QString::number(p50, 'f', 3) + blocks +
            QStringLiteral("%1–%2").arg(p50Spread.min, 0, 'f', 3).arg(p50Spread.max, 0, 'f', 3),
        p50, 0.3, QStringLiteral("≤ 0.3 ms")));
    emitRow(atMost(p99Figure,
                   QString::number(p99, 'f', 3) + blocks +
                       QStringLiteral("%1–%2, max %3 ms")
                           .arg(p99Spread.min, 0, 'f', 3)
                           .arg(p99Spread.max, 0, 'f', 3)
                           .arg(percentile(all, 100), 0, 'f', 3),
                   p99, 2, QStringLiteral("≤ 2 ms")));
}
