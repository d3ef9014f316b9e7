#include "count_tuner.h"

#include <QTest>

using namespace tallivo;

namespace {

// The ways of a two-processor machine that can map the file, in the order the counter tries them.
const std::vector<CountWay> kWays{{true, 1}, {false, 1}, {true, 2}, {false, 2}};
constexpr std::size_t kStretch = std::size_t{2} << 20;
constexpr int kStretches = 512; // a file of 1 GiB

// The seconds a count takes on a simulated machine where way w counts stretch s at
// rates(s)[w] GB/s, the tuner choosing; oracle receives those of the best way at every stretch.
template <typename Rates> double SimulatedSeconds(const Rates& rates, double& oracle) {
    CountTuner tuner(kWays, kStretch);
    double seconds = 0.0;
    oracle = 0.0;
    for (int s = 0; s < kStretches; ++s) {
        const QList<double> gigabytes = rates(s);
        const auto way = std::find(kWays.begin(), kWays.end(), tuner.Next()) - kWays.begin();
        const double taken = double(kStretch) / (gigabytes[way] * 1e9);
        tuner.Record(kStretch, taken);
        seconds += taken;
        oracle += double(kStretch) / (*std::max_element(gigabytes.begin(), gigabytes.end()) * 1e9);
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
};

void TestCountTuner::staysCloseToTheBestWay_data() {
    // GB/s of: mapped alone, read alone, mapped with a helper, read with a helper.
    QTest::addColumn<QList<double>>("first");
    QTest::addColumn<QList<double>>("second"); // from the middle of the file on
    QTest::addColumn<int>("slowStretch");      // one stretch of the way in use 20 times slower
    QTest::addColumn<double>("slack");         // how much slower than the best way at each stretch

    const QList<double> helperGains{5, 4, 9, 6};
    const QList<double> helperLoses{5, 4, 3, 2.5};
    const QList<double> mappingCostly{1.5, 6, 2.5, 9};
    const QList<double> closeTogether{18, 12, 16, 16};
    QTest::newRow("a helper gains") << helperGains << helperGains << -1 << 0.03;
    QTest::newRow("a helper loses: a busy machine") << helperLoses << helperLoses << -1 << 0.03;
    QTest::newRow("pages costly to map: reading wins")
        << mappingCostly << mappingCostly << -1 << 0.05;
    QTest::newRow("every way about as fast") << closeTogether << closeTogether << -1 << 0.02;
    QTest::newRow("the other processor gets busy halfway")
        << helperGains << QList<double>{5, 4, 2, 2} << -1 << 0.04;
    QTest::newRow("the other processor frees up halfway")
        << helperLoses << helperGains << -1 << 0.04;
    QTest::newRow("one stretch of the best way slowed down")
        << helperGains << helperGains << 40 << 0.04;
    QTest::newRow("its first try slowed down") << helperGains << helperGains << 2 << 0.04;
}

void TestCountTuner::staysCloseToTheBestWay() {
    QFETCH(QList<double>, first);
    QFETCH(QList<double>, second);
    QFETCH(int, slowStretch);
    QFETCH(double, slack);
    double oracle = 0.0;
    const double seconds = SimulatedSeconds(
        [&](int s) {
            QList<double> rates = s < kStretches / 2 ? first : second;
            if (s == slowStretch) {
                for (double& rate : rates) {
                    rate /= 20;
                }
            }
            return rates;
        },
        oracle);
    QVERIFY2(
        seconds <= (1 + slack) * oracle,
        qPrintable(QStringLiteral("%1 ms against %2 ms").arg(seconds * 1e3).arg(oracle * 1e3)));
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

QTEST_GUILESS_MAIN(TestCountTuner)
#include "tst_count_tuner.moc"
