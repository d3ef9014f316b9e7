#include "frequency_report.h"
#include "ngram_counter.h"
#include "reference_frequencies.h"
#include "text_statistics.h"

#include <QTest>

#include <numeric>

using namespace tallivo;

namespace {

// The letter counts of text, as the counter gives them.
std::vector<std::int32_t> Counts(const QByteArray& text) {
    std::vector<std::int32_t> counts(kLetterCount, 0);
    for (const char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            ++counts[(c | 0x20) - 'a'];
        }
    }
    return counts;
}

NGramCounter NGrams(const QList<QByteArray>& pieces) {
    NGramCounter counter;
    for (const QByteArray& piece : pieces) {
        counter.Add(reinterpret_cast<const unsigned char*>(piece.constData()),
                    std::size_t(piece.size()));
    }
    return counter;
}

QStringList Describe(const std::vector<NGram>& ngrams) {
    QStringList out;
    for (const NGram& ngram : ngrams) {
        out << QStringLiteral("%1 %2").arg(QString::fromStdString(ngram.letters)).arg(ngram.count);
    }
    return out;
}

} // namespace

class TestTextStatistics : public QObject {
    Q_OBJECT

private slots:
    void formulasOnTextsCheckedByHand_data();
    void formulasOnTextsCheckedByHand();
    void ngramsSkipNonLettersAcrossPieces_data();
    void ngramsSkipNonLettersAcrossPieces();
    void commonestAreCappedAndTiesAlphabetical();
    void wholeBlocksCountAsBytesOneByOne();
    void statisticsOfATextAgainstAReference();
    void tableForASpreadsheet();
};

void TestTextStatistics::formulasOnTextsCheckedByHand_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<double>("coincidence"); // -1: none below two letters
    QTest::addColumn<double>("entropy");
    QTest::addColumn<QString>("order");

    const QString rest = QStringLiteral(" D E F G H I J K L M N O P Q R S T U V W X Y Z");
    // (2·1 + 3·2) / (5·4)
    QTest::newRow("aabbb") << QByteArray("aabbb") << 0.4 << 0.9709505944546686 << "B A C" + rest;
    QTest::newRow("one letter") << QByteArray("z") << -1.0 << 0.0
                                << "Z A B C D E F G H I J K L M N O P Q R S T U V W X Y";
    QTest::newRow("four alike") << QByteArray("AaAa") << 1.0 << 0.0 << "A B C" + rest;
    QTest::newRow("four different") << QByteArray("a-B c,D") << 0.0 << 2.0 << "A B C" + rest;
    QTest::newRow("ties stay alphabetical")
        << QByteArray("cbcb") << 1.0 / 3.0 << 1.0 << "B C A" + rest;
}

void TestTextStatistics::formulasOnTextsCheckedByHand() {
    QFETCH(QByteArray, text);
    QFETCH(double, coincidence);
    QFETCH(double, entropy);
    QFETCH(QString, order);
    const std::vector<std::int32_t> counts = Counts(text);
    std::int32_t total = 0;
    for (const std::int32_t n : counts) {
        total += n;
    }
    const std::optional<double> ic = IndexOfCoincidence(counts, total);
    QCOMPARE(ic.has_value(), coincidence >= 0.0);
    if (ic) {
        QVERIFY(qAbs(*ic - coincidence) < 1e-12);
    }
    QVERIFY(qAbs(Entropy(counts, total) - entropy) < 1e-12);
    QCOMPARE(QString::fromStdString(FrequencyOrder(counts)), order);
}

void TestTextStatistics::ngramsSkipNonLettersAcrossPieces_data() {
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<QStringList>("bigrams");
    QTest::addColumn<QStringList>("trigrams");

    QTest::newRow("ab, c") << QList<QByteArray>{"ab, c"} << QStringList{"AB 1", "BC 1"}
                           << QStringList{"ABC 1"};
    QTest::newRow("ab, c in pieces") << QList<QByteArray>{"a", "", "b, ", "C"}
                                     << QStringList{"AB 1", "BC 1"} << QStringList{"ABC 1"};
    QTest::newRow("five-letter groups")
        << QList<QByteArray>{"XYZXY ZX\n"} << QStringList{"XY 2", "YZ 2", "ZX 2"}
        << QStringList{"XYZ 2", "YZX 2", "ZXY 1"};
    QTest::newRow("one letter") << QList<QByteArray>{"?q!"} << QStringList{} << QStringList{};
    QTest::newRow("accents are not letters")
        << QList<QByteArray>{"c\xc3\xa0t"} << QStringList{"CT 1"} << QStringList{};
}

void TestTextStatistics::ngramsSkipNonLettersAcrossPieces() {
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QStringList, bigrams);
    QFETCH(QStringList, trigrams);
    const NGramCounter counter = NGrams(pieces);
    QCOMPARE(Describe(counter.Commonest(2, 10)), bigrams);
    QCOMPARE(Describe(counter.Commonest(3, 10)), trigrams);
    qsizetype bigramTotal = 0;
    for (const QString& bigram : bigrams) {
        bigramTotal += bigram.section(QLatin1Char(' '), 1).toInt();
    }
    QCOMPARE(counter.Total(2), std::uint64_t(bigramTotal));
}

void TestTextStatistics::commonestAreCappedAndTiesAlphabetical() {
    // 13 distinct bigrams once each: the ten first in the alphabet, in order.
    const NGramCounter counter = NGrams({"zyxwvutsrqponm"});
    QCOMPARE(Describe(counter.Commonest(2, 10)),
             (QStringList{"NM 1", "ON 1", "PO 1", "QP 1", "RQ 1", "SR 1", "TS 1", "UT 1", "VU 1",
                          "WV 1"}));
}

void TestTextStatistics::wholeBlocksCountAsBytesOneByOne() {
    // Blocks of 64 bytes or more take the vector path where the processor has one; single
    // bytes the portable one. Every byte value occurs, next to letters of both cases.
    QByteArray text;
    for (int i = 0; i < 5000; ++i) {
        text += char((i * 37) % 256);
        text += "The Zebra, ";
    }
    const NGramCounter whole = NGrams({text});
    QList<QByteArray> bytes;
    for (const char c : text) {
        bytes << QByteArray(1, c);
    }
    const NGramCounter single = NGrams(bytes);
    QCOMPARE(Describe(whole.Commonest(3, 50)), Describe(single.Commonest(3, 50)));
    QCOMPARE(Describe(whole.Commonest(2, 700)), Describe(single.Commonest(2, 700)));
    const std::vector<std::int32_t> counts = Counts(text);
    const LetterTally letters = whole.Letters();
    for (int i = 0; i < kLetterCount; ++i) {
        QCOMPARE(letters[i], std::uint64_t(counts[i]));
    }
    QCOMPARE(whole.Total(1), std::uint64_t(std::accumulate(counts.begin(), counts.end(), 0)));
}

void TestTextStatistics::statisticsOfATextAgainstAReference() {
    const TextStatistics plain = Statistics(Counts("abab"), 4, NGrams({"abab"}), nullptr);
    QCOMPARE(plain.letters, 4);
    QCOMPARE(*plain.coincidence, 1.0 / 3.0);
    QCOMPARE(plain.entropy, 1.0);
    QVERIFY(!plain.chiSquare && !plain.expectedCoincidence);
    QCOMPARE(plain.bigrams.size(), std::size_t(2));
    QCOMPARE(plain.bigrams[0].letters, std::string("AB"));
    QCOMPARE(plain.bigrams[0].count, std::uint64_t(2));
    QCOMPARE(plain.bigrams[0].percent, 200.0 / 3.0); // of the three bigrams
    QCOMPARE(plain.trigrams[1].percent, 50.0);

    // Against a reference of half a, half b: expected 2 and 2, so (1 + 1) / 2 each way.
    ReferenceTable halves{};
    halves[0] = 50.0;
    halves[1] = 50.0;
    const TextStatistics skewed = Statistics(Counts("aaab"), 4, NGrams({"aaab"}), &halves);
    QCOMPARE(*skewed.expectedCoincidence, 0.5);
    QCOMPARE(*skewed.chiSquare, 1.0);

    const TextStatistics single = Statistics(Counts("q"), 1, NGrams({"q"}), nullptr);
    QVERIFY(!single.coincidence);
    QVERIFY(single.bigrams.empty() && single.trigrams.empty());
}

void TestTextStatistics::tableForASpreadsheet() {
    const QString table = QString::fromStdString(ReportTable(Counts("aaab"), 4, ","));
    const QStringList lines = table.split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 29); // header, 26 letters, total, and the empty rest after the last
    QCOMPARE(lines[0], QStringLiteral("Lettera\tConteggio\tPercentuale"));
    QCOMPARE(lines[1], QStringLiteral("A\t3\t75"));
    QCOMPARE(lines[3], QStringLiteral("C\t0\t0"));
    QCOMPARE(lines[27], QStringLiteral("Totale\t4"));
    QCOMPARE(QString::fromStdString(ReportTable(Counts("aab"), 3, ",")).section('\n', 1, 1),
             QStringLiteral("A\t2\t66,67"));
}

QTEST_GUILESS_MAIN(TestTextStatistics)
#include "tst_text_statistics.moc"
