#include "autokey_key.h"
#include "cipher_text.h"
#include "cipher_texts.h"
#include "key_search.h"
#include "letter_layout.h"
#include "period_finder.h"
#include "periodic_key.h"
#include "reference_frequencies.h"
#include "text_statistics.h"

#include <QTest>

#include <random>

using namespace tallivo;

namespace {

double Italian() {
    return ExpectedCoincidence(ItalianFrequencies());
}

PeriodFinding Find(const std::vector<std::uint8_t>& letters) {
    PeriodAnalysis analysis(kPeriodLimit);
    analysis.Update(letters);
    return FindPeriod(analysis.Coincidences(), analysis.Examination(letters, 0), letters.size(),
                      Italian());
}

std::vector<std::uint8_t> EncryptedLetters(const std::string& plain, const PeriodicKey& key) {
    std::string encrypted;
    key.Encrypt(plain, encrypted);
    return TextLetters(encrypted);
}

} // namespace

Q_DECLARE_METATYPE(PeriodCertainty)

class TestPeriodFinder : public QObject {
    Q_OBJECT

private slots:
    void theKeysPeriodIsFound_data();
    void theKeysPeriodIsFound();
    void aLongKeyOnAShortTextGivesItsPeriodOrNone_data();
    void aLongKeyOnAShortTextGivesItsPeriodOrNone();
    void autokeyShowsNoPeriod_data();
    void autokeyShowsNoPeriod();
    void theTableIsReadWithItsNoise_data();
    void theTableIsReadWithItsNoise();
};

void TestPeriodFinder::theKeysPeriodIsFound_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("sense");
    QTest::newRow("one letter, a shift") << 1 << 0;
    QTest::newRow("six, Vigenère") << 6 << 0;
    QTest::newRow("eleven, Beaufort") << 11 << 1;
    QTest::newRow("twenty-one, Vigenère") << 21 << 0;
    QTest::newRow("twenty-three, variant Beaufort") << 23 << 2;
    QTest::newRow("twenty-five, Beaufort") << 25 << 1;
    QTest::newRow("twenty-nine, Vigenère") << 29 << 0;
    QTest::newRow("forty, Vigenère") << 40 << 0;
}

void TestPeriodFinder::theKeysPeriodIsFound() {
    QFETCH(int, length);
    QFETCH(int, sense);
    std::mt19937_64 random(std::uint64_t(length * 10 + sense));
    const PeriodicKey key =
        PeriodicKey::Random(static_cast<PeriodicSense>(sense), std::size_t(length), random);
    const std::vector<std::uint8_t> letters = EncryptedLetters(ItalianSample().toStdString(), key);
    const PeriodFinding finding = Find(letters);
    QCOMPARE(finding.period, std::optional<int>(length));
    QCOMPARE(finding.certainty, PeriodCertainty::Clear);
    QCOMPARE(finding.candidates.front().period, length);
    QVERIFY(finding.candidates.front().strength >= finding.threshold);
    // No other period is listed that the key's divides.
    for (std::size_t i = 1; i < finding.candidates.size(); ++i) {
        QVERIFY(finding.candidates[i].period % length != 0);
    }
}

void TestPeriodFinder::aLongKeyOnAShortTextGivesItsPeriodOrNone_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("letters");
    for (const int length : {21, 23, 25, 29}) {
        for (const int letters : {300, 500}) {
            QTest::addRow("%d letters of key, %d of text", length, letters) << length << letters;
        }
    }
}

void TestPeriodFinder::aLongKeyOnAShortTextGivesItsPeriodOrNone() {
    QFETCH(int, length);
    QFETCH(int, letters);
    const std::vector<std::uint8_t> sample = TextLetters(ItalianSample().toStdString());
    std::mt19937_64 random(std::uint64_t(length * 1000 + letters));
    int found = 0;
    for (int trial = 0; trial < 10; ++trial) {
        const std::size_t start = random() % (sample.size() - std::size_t(letters));
        std::string plain;
        for (std::size_t i = start; i < start + std::size_t(letters); ++i) {
            plain += char('a' + sample[i]);
        }
        const PeriodicKey key =
            PeriodicKey::Random(PeriodicSense::Vigenere, std::size_t(length), random);
        const PeriodFinding finding = Find(EncryptedLetters(plain, key));
        // Never a shorter period that only divides the key's, or any other.
        QVERIFY2(!finding.period || *finding.period == length,
                 qPrintable(QString::number(*finding.period)));
        found += finding.period ? 1 : 0;
    }
    QVERIFY(found >= 5);
}

void TestPeriodFinder::autokeyShowsNoPeriod_data() {
    QTest::addColumn<QString>("primer");
    QTest::newRow("one letter") << "k";
    QTest::newRow("five letters") << "tromba";
    QTest::newRow("nine letters") << "lanterna";
    QTest::newRow("twenty letters") << "quelramodelfiumedico";
}

void TestPeriodFinder::autokeyShowsNoPeriod() {
    QFETCH(QString, primer);
    std::string encrypted;
    AutokeyKey::Parse(primer.toStdString()).key().Encrypt(ItalianSample().toStdString(), encrypted);
    const PeriodFinding finding = Find(TextLetters(encrypted));
    QCOMPARE(finding.period, std::optional<int>());
    QCOMPARE(finding.certainty, PeriodCertainty::NoneStandsOut);
    // The candidates are listed to be tried by hand, each under the floor.
    QVERIFY(!finding.candidates.empty() && finding.candidates.size() <= 8);
    for (const PeriodCandidate& candidate : finding.candidates) {
        QVERIFY(candidate.strength < kPeriodFloor);
    }
}

void TestPeriodFinder::theTableIsReadWithItsNoise_data() {
    // Strengths by period (0 random letters, 1 the language); periods not named are at 0.05.
    QTest::addColumn<QList<int>>("periods");
    QTest::addColumn<QList<double>>("strengths");
    QTest::addColumn<int>("letters");
    QTest::addColumn<int>("kasiskiDivided"); // of 100 distances, by the period sought
    QTest::addColumn<int>("period");         // 0: none
    QTest::addColumn<PeriodCertainty>("certainty");
    QTest::newRow("one alphabet") << QList<int>{1} << QList<double>{1.0} << 3000 << 100 << 1
                                  << PeriodCertainty::Clear;
    QTest::newRow("the smallest of equal multiples")
        << QList<int>{5} << QList<double>{1.0} << 3000 << 60 << 5 << PeriodCertainty::Clear;
    QTest::newRow("a divisor a third of the way is not taken")
        << QList<int>{7, 21} << QList<double>{0.33, 1.0} << 3000 << 50 << 21
        << PeriodCertainty::Clear;
    QTest::newRow("a divisor alone is not a period") << QList<int>{7} << QList<double>{0.35} << 3000
                                                     << 50 << 0 << PeriodCertainty::NoneStandsOut;
    // A divisor whose columns mix two alphabets falls short, but so near that the period is
    // only probable.
    QTest::newRow("a divisor mixing two alphabets falls short")
        << QList<int>{2, 4} << QList<double>{0.78, 1.0} << 3000 << 60 << 4
        << PeriodCertainty::Probable;
    QTest::newRow("a divisor nearly as strong is taken")
        << QList<int>{2, 4} << QList<double>{0.9, 1.0} << 3000 << 60 << 2 << PeriodCertainty::Clear;
    QTest::newRow("a thin gap to the runner-up") << QList<int>{4, 7} << QList<double>{0.7, 0.55}
                                                 << 3000 << 50 << 4 << PeriodCertainty::Probable;
    QTest::newRow("Kasiski at chance")
        << QList<int>{6} << QList<double>{1.0} << 3000 << 17 << 6 << PeriodCertainty::Probable;
    QTest::newRow("Kasiski well above chance")
        << QList<int>{6} << QList<double>{1.0} << 3000 << 40 << 6 << PeriodCertainty::Clear;
    // With 120 letters a period of 30 has four letters a column: its strength is noise.
    QTest::newRow("a long period on a short text")
        << QList<int>{30} << QList<double>{0.9} << 120 << 0 << 0 << PeriodCertainty::NoneStandsOut;
}

void TestPeriodFinder::theTableIsReadWithItsNoise() {
    QFETCH(QList<int>, periods);
    QFETCH(QList<double>, strengths);
    QFETCH(int, letters);
    QFETCH(int, kasiskiDivided);
    QFETCH(int, period);
    QFETCH(PeriodCertainty, certainty);
    const double random = 1.0 / 26.0;
    const double language = Italian();
    std::vector<double> coincidences(static_cast<std::size_t>(kPeriodLimit));
    KasiskiExamination kasiski;
    kasiski.distances = 100;
    kasiski.divided.assign(std::size_t(kPeriodLimit), 0);
    for (int p = 1; p <= kPeriodLimit; ++p) {
        // A period takes the strength of the longest named period dividing it.
        double strength = 0.05;
        for (int k = 0; k < periods.size(); ++k) {
            if (p % periods[k] == 0) {
                strength = strengths[k];
            }
        }
        coincidences[std::size_t(p - 1)] = random + strength * (language - random);
        kasiski.divided[std::size_t(p - 1)] = std::uint64_t(100 / p);
    }
    const int sought = period != 0 ? period : periods.front();
    kasiski.divided[std::size_t(sought - 1)] = std::uint64_t(kasiskiDivided);
    const PeriodFinding finding =
        FindPeriod(coincidences, kasiski, std::uint64_t(letters), language);
    QCOMPARE(finding.period.value_or(0), period);
    QCOMPARE(finding.certainty, certainty);
    QVERIFY(!finding.candidates.empty());
    if (period != 0) {
        QCOMPARE(finding.candidates.front().period, period);
    }
}

QTEST_GUILESS_MAIN(TestPeriodFinder)
#include "tst_period_finder.moc"
