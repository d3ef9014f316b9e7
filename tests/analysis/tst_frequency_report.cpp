#include "analysis_error.h"
#include "frequency_report.h"

#include <QTest>

#include <cmath>

using namespace tallivo;

Q_DECLARE_METATYPE(tallivo::PercentPattern)

namespace {
constexpr auto kZero = PercentPattern::ZeroHashHash;
constexpr auto kHash = PercentPattern::HashHash;
} // namespace

class TestFrequencyReport : public QObject {
    Q_OBJECT

private slots:
    void roundsToTwoDecimalsHalvesAwayFromZero_data();
    void roundsToTwoDecimalsHalvesAwayFromZero();
    void failsWhereThereIsNoPercentage_data();
    void failsWhereThereIsNoPercentage();
    void bothPatternsAgreeFromHalfAHundredth();
    void reportLines_data();
    void reportLines();
    void totalLine();
    void barHeightRoundsHalvesToEven_data();
    void barHeightRoundsHalvesToEven();
};

void TestFrequencyReport::roundsToTwoDecimalsHalvesAwayFromZero_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("total");
    QTest::addColumn<float>("expected");

    QTest::newRow("1 of 3") << 1 << 3 << 33.33F;
    QTest::newRow("2 of 3") << 2 << 3 << 66.67F;
    QTest::newRow("1 of 8") << 1 << 8 << 12.5F;
    QTest::newRow("1 of 32, a half on a binary boundary") << 1 << 32 << 3.13F;
    QTest::newRow("3 of 32") << 3 << 32 << 9.38F;
    QTest::newRow("1 of 200000 rounds to 0") << 1 << 200000 << 0.0F;
    QTest::newRow("1 of 20000 is half a hundredth") << 1 << 20000 << 0.01F;
    QTest::newRow("count equals total") << 7 << 7 << 100.0F;
    QTest::newRow("none") << 0 << 5 << 0.0F;
    QTest::newRow("1234 of 10000") << 1234 << 10000 << 12.34F;
    QTest::newRow("largest total") << INT32_MAX << INT32_MAX << 100.0F;
    QTest::newRow("1 of largest total") << 1 << INT32_MAX << 0.0F;
    QTest::newRow("2 of 7") << 2 << 7 << 28.57F;
    QTest::newRow("-1 of 3") << -1 << 3 << -33.33F;
    QTest::newRow("1 of -3") << 1 << -3 << -33.33F;
    QTest::newRow("-1 of -3") << -1 << -3 << 33.33F;
    QTest::newRow("-1 of 20000, half a hundredth below") << -1 << 20000 << -0.01F;
    QTest::newRow("-1 of 200000 rounds to 0, not -0") << -1 << 200000 << 0.0F;
}

void TestFrequencyReport::roundsToTwoDecimalsHalvesAwayFromZero() {
    QFETCH(int, count);
    QFETCH(int, total);
    QFETCH(float, expected);
    QCOMPARE(RoundedPercent(count, total, kZero), expected);
    // Equal floats may differ in sign at 0, which the report would show as "-0".
    QCOMPARE(std::signbit(RoundedPercent(count, total, kZero)), std::signbit(expected));
    if (expected != 0.0F) {
        QCOMPARE(RoundedPercent(count, total, kHash), expected);
    }
}

void TestFrequencyReport::failsWhereThereIsNoPercentage_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("total");
    QTest::addColumn<tallivo::PercentPattern>("pattern");
    QTest::addColumn<int>("error");

    QTest::newRow("total 0") << 0 << 0 << kZero << int(AnalysisError::ZeroTotal);
    QTest::newRow("total 0, #.##") << 5 << 0 << kHash << int(AnalysisError::ZeroTotal);
    QTest::newRow("absent letter, #.##") << 0 << 10 << kHash << int(AnalysisError::NoDigit);
    QTest::newRow("below 0.005, #.##") << 1 << 200000 << kHash << int(AnalysisError::NoDigit);
}

void TestFrequencyReport::failsWhereThereIsNoPercentage() {
    QFETCH(int, count);
    QFETCH(int, total);
    QFETCH(tallivo::PercentPattern, pattern);
    QFETCH(int, error);
    try {
        RoundedPercent(count, total, pattern);
        QFAIL("no error");
    } catch (const AnalysisFailure& failure) {
        QCOMPARE(int(failure.kind()), error);
    }
}

void TestFrequencyReport::bothPatternsAgreeFromHalfAHundredth() {
    const int total = 100003;
    for (int count = 6; count <= total; count += 97) {
        QCOMPARE(RoundedPercent(count, total, kHash), RoundedPercent(count, total, kZero));
    }
}

void TestFrequencyReport::reportLines_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("line");

    QTest::newRow("E, two decimals") << 5 << 1234 << 10000 << "."
                                     << "E = 1234  (12.34%)";
    QTest::newRow("comma separator") << 5 << 1234 << 10000 << ","
                                     << "E = 1234  (12,34%)";
    QTest::newRow("A, whole percent") << 1 << 3 << 4 << "."
                                      << "A = 3  (75%)";
    QTest::newRow("C, none") << 3 << 0 << 4 << "."
                             << "C = 0  (0%)";
    QTest::newRow("Z, all") << 26 << 2 << 2 << "."
                            << "Z = 2  (100%)";
    QTest::newRow("one decimal") << 2 << 1 << 8 << ","
                                 << "B = 1  (12,5%)";
    QTest::newRow("below a half") << 11 << 1 << 200 << "."
                                  << "K = 1  (0.5%)";
    QTest::newRow("a third") << 17 << 1 << 3 << "."
                             << "Q = 1  (33.33%)";
    QTest::newRow("large count") << 9 << 2000000000 << 2147483647 << "."
                                 << "I = 2000000000  (93.13%)";
}

void TestFrequencyReport::reportLines() {
    QFETCH(int, n);
    QFETCH(int, count);
    QFETCH(int, total);
    QFETCH(QString, separator);
    QFETCH(QString, line);
    const float percent = RoundedPercent(count, total, kZero);
    QCOMPARE(QString::fromStdString(FrequencyLine(n, count, percent, separator.toStdString())),
             line);
}

void TestFrequencyReport::totalLine() {
    QCOMPARE(QString::fromStdString(TotalLine(10000)), QStringLiteral("Tot. caratteri= 10000"));
    QCOMPARE(QString::fromStdString(TotalLine(0)), QStringLiteral("Tot. caratteri= 0"));
}

void TestFrequencyReport::barHeightRoundsHalvesToEven_data() {
    QTest::addColumn<float>("percent");
    QTest::addColumn<int>("height");

    QTest::newRow("12.5") << 12.5F << 12;
    QTest::newRow("13.5") << 13.5F << 14;
    QTest::newRow("0.5") << 0.5F << 0;
    QTest::newRow("1.5") << 1.5F << 2;
    QTest::newRow("12.51") << 12.51F << 13;
    QTest::newRow("12.49") << 12.49F << 12;
    QTest::newRow("100") << 100.0F << 100;
    QTest::newRow("0") << 0.0F << 0;
}

void TestFrequencyReport::barHeightRoundsHalvesToEven() {
    QFETCH(float, percent);
    QFETCH(int, height);
    QCOMPARE(int(BarHeight(percent)), height);
}

QTEST_GUILESS_MAIN(TestFrequencyReport)
#include "tst_frequency_report.moc"
