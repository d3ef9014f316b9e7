#include "count_tuner.h"

#include <QTest>

using namespace tallivo;

namespace {

// The ways of a two-processor machine that can map the file, in the order the counter tries them.
const std::vector<CountWay> kWays{{true, 1}, {false, 1}, {true, 2}, {false, 2}};
constexpr std::size_t kStretch = std::size_t{2} << 20;
constexpr std::size_t kStretches = 512; // a file of 1 GiB

// The seconds a count takes on a simulated machine where way w counts the MiB at m at
// rates(m)[w] GB/s, the tuner choosing among ways; oracle receives those of the best way at every
// MiB.
template <typename Rates>
double SimulatedSeconds(const std::vector<CountWay>& ways, const Rates& rates, double& oracle) {
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    CountTuner tuner(ways, kStretch);
    double seconds = 0.0;
    oracle = 0.0;
    for (std::size_t done = 0; done < kStretches * kStretch;) {
        const auto way = std::find(kWays.begin(), kWays.end(), tuner.Next()) - kWays.begin();
        const std::size_t bytes = kStretch;
        double taken = 0.0;
        for (std::size_t at = done; at < done + bytes; at += kMiB) {
            const QList<double> gigabytes = rates(int(at / kMiB));
            taken += double(kMiB) / (gigabytes[way] * 1e9);
            oracle += double(kMiB) / (*std::max_element(gigabytes.begin(), gigabytes.end()) * 1e9);
        }
        tuner.Record(bytes, taken);
        seconds += taken;
        done += bytes;
    }
    return seconds;
}

} // namespace

class TestCountTuner : public QObject {
    Q_OBJECT

private slots:
    void staysCloseToTheBestWay_data();
    void staysCloseToTheBestWay();
    void aDisturbedStretchSaysNothingOfItsWay();
    void helpersAreTriedOnlyWhereTheyCanWin_data();
    void helpersAreTriedOnlyWhereTheyCanWin();
    void helpersThatStallAreLeft_data();
    void helpersThatStallAreLeft();
};

void TestCountTuner::staysCloseToTheBestWay_data() {
    // GB/s of: mapped alone, read alone, mapped with a helper, read with a helper.
    QTest::addColumn<QList<double>>("first");
    QTest::addColumn<QList<double>>("then"); // from MiB "from" of the file on
    QTest::addColumn<int>("from");
    // MiB slowFrom to slowTo counted slowBy times slower by the ways of slowWays (indexes).
    QTest::addColumn<int>("slowFrom");
    QTest::addColumn<int>("slowTo");
    QTest::addColumn<QList<int>>("slowWays");
    QTest::addColumn<double>("slack"); // how much slower than the best way at each MiB

    const QList<double> helperGains{5, 4, 9, 6};
    const QList<double> helperLoses{5, 4, 3, 2.5};
    const QList<double> mappingCostly{1.5, 6, 2.5, 9};
    const QList<double> closeTogether{18, 12, 16, 16};
    const QList<double> mappingFast{20, 12, 22, 11};
    const QList<int> none;
    const QList<int> all{0, 1, 2, 3};
    const int half = kStretches; // MiB
    QTest::newRow("a helper gains") << helperGains << helperGains << 0 << 0 << 0 << none << 0.03;
    QTest::newRow("a helper loses: a busy machine")
        << helperLoses << helperLoses << 0 << 0 << 0 << none << 0.03;
    QTest::newRow("pages costly to map: reading wins")
        << mappingCostly << mappingCostly << 0 << 0 << 0 << none << 0.05;
    QTest::newRow("pages costly to map, a busy machine")
        << QList<double>{1.5, 6, 2.5, 5} << QList<double>{1.5, 6, 2.5, 5} << 0 << 0 << 0 << none
        << 0.03;
    QTest::newRow("every way about as fast")
        << closeTogether << closeTogether << 0 << 0 << 0 << none << 0.02;
    QTest::newRow("the other processor gets busy halfway")
        << helperGains << QList<double>{5, 4, 2, 2} << half << 0 << 0 << none << 0.04;
    QTest::newRow("the other processor frees up halfway")
        << helperLoses << helperGains << half << 0 << 0 << none << 0.15;
    QTest::newRow("small pages for the first 30 MiB, then large")
        << QList<double>{1.5, 5, 2.5, 6} << mappingFast << 30 << 0 << 0 << none << 0.08;
    QTest::newRow("small pages, costly to map, in the middle of the file")
        << mappingFast << mappingFast << 0 << 100 << 108 << QList<int>{0, 2} << 0.16;
    // Left for a while, as a stall of the helpers would be.
    QTest::newRow("one slow moment for the way in use")
        << helperGains << helperGains << 0 << 80 << 81 << all << 0.03;
    QTest::newRow("one slow moment during the first tries")
        << helperGains << helperGains << 0 << 4 << 5 << all << 0.05;
}

void TestCountTuner::staysCloseToTheBestWay() {
    QFETCH(QList<double>, first);
    QFETCH(QList<double>, then);
    QFETCH(int, from);
    QFETCH(int, slowFrom);
    QFETCH(int, slowTo);
    QFETCH(QList<int>, slowWays);
    QFETCH(double, slack);
    const auto rates = [&](int mib) {
        QList<double> gigabytes = mib < from ? first : then;
        if (mib >= slowFrom && mib < slowTo) {
            for (const int way : slowWays) {
                gigabytes[way] /= 15;
            }
        }
        return gigabytes;
    };
    double oracle = 0.0;
    const double seconds = SimulatedSeconds(kWays, rates, oracle);
    QVERIFY2(
        seconds <= (1 + slack) * oracle,
        qPrintable(QStringLiteral("%1 ms against %2 ms").arg(seconds * 1e3).arg(oracle * 1e3)));
    // Offered helpers too, the count is no slower than offered the calling thread alone, but for
    // the tries of the helpers.
    double aloneOracle = 0.0;
    const double alone = SimulatedSeconds({kWays[0], kWays[1]}, rates, aloneOracle);
    QVERIFY2(seconds <= 1.015 * alone,
             qPrintable(QStringLiteral("%1 ms against %2 ms").arg(seconds * 1e3).arg(alone * 1e3)));
}

void TestCountTuner::aDisturbedStretchSaysNothingOfItsWay() {
    CountTuner tuner(kWays, kStretch);
    QCOMPARE(tuner.Next(), kWays[0]);
    for (int disturbed = 1; disturbed < CountTuner::kDisturbedInARow; ++disturbed) {
        tuner.Record(kStretch, 1.0, true);
        QCOMPARE(tuner.Next(), kWays[0]); // still untried
    }
    // Disturbed again and again: a machine that busy is judged as it is.
    tuner.Record(kStretch, 1.0, true);
    QCOMPARE(tuner.Next(), kWays[1]);
}

void TestCountTuner::helpersAreTriedOnlyWhereTheyCanWin_data() {
    QTest::addColumn<double>("mappedAlone"); // GB/s; read alone counts at 6
    QTest::addColumn<bool>("triesHelper");   // mapped with a helper next

    QTest::newRow("mapped alone a little slower") << 4.0 << true;
    QTest::newRow("mapped alone half as fast") << 3.0 << true;
    QTest::newRow("mapped alone far slower: two threads cannot win") << 2.9 << false;
}

void TestCountTuner::helpersAreTriedOnlyWhereTheyCanWin() {
    QFETCH(double, mappedAlone);
    QFETCH(bool, triesHelper);
    CountTuner tuner({kWays[0], kWays[1], kWays[2]}, kStretch);
    tuner.Record(kStretch, double(kStretch) / (mappedAlone * 1e9));
    tuner.Record(kStretch, double(kStretch) / 6e9);
    QCOMPARE(tuner.Next(), triesHelper ? kWays[2] : kWays[1]);
}

void TestCountTuner::helpersThatStallAreLeft_data() {
    // Helpers count twice as fast as the calling thread alone, but where other programs run, a
    // stretch with helpers stalls now and then, while a helper gives way.
    QTest::addColumn<int>("every");    // one stretch with helpers in every so many stalls
    QTest::addColumn<double>("stall"); // that many times slower
    QTest::addColumn<double>("most");  // seconds at most, against the calling thread alone

    // Every try of the helpers meets a stall before they are left again: the tries, up to a few
    // per cent of the count where stalls are long and frequent, are what it costs to find the
    // helpers again once the other programs are done. (Judged by their best stretches alone, the
    // helpers were kept: 3.6 times slower in the last row.)
    QTest::newRow("a quiet machine") << 0 << 1.0 << 0.6;
    QTest::newRow("a rare stall: helpers still win") << 100 << 12.0 << 0.65;
    QTest::newRow("a stall every 10 stretches, as long as 12") << 10 << 12.0 << 1.08;
    QTest::newRow("a stall every 5 stretches, as long as 6") << 5 << 6.0 << 1.05;
    QTest::newRow("a stall every 3 stretches, as long as 20") << 3 << 20.0 << 1.15;
}

void TestCountTuner::helpersThatStallAreLeft() {
    QFETCH(int, every);
    QFETCH(double, stall);
    QFETCH(double, most);
    const auto rates = [&](int mib) {
        QList<double> gigabytes{5, 4.5, 10, 9};
        if (every > 0 && (mib / 2) % every == every - 1) {
            gigabytes[2] /= stall;
            gigabytes[3] /= stall;
        }
        return gigabytes;
    };
    double oracle = 0.0;
    const double seconds = SimulatedSeconds(kWays, rates, oracle);
    const double alone = SimulatedSeconds({kWays[0], kWays[1]}, rates, oracle);
    QVERIFY2(seconds <= most * alone,
             qPrintable(QStringLiteral("%1 ms against %2 ms").arg(seconds * 1e3).arg(alone * 1e3)));
}

QTEST_GUILESS_MAIN(TestCountTuner)
#include "tst_count_tuner.moc"
