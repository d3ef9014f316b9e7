#include "analysis.h"

#include <QTest>

#include <numeric>

using namespace tallivo;

class TestAnalysis : public QObject {
    Q_OBJECT

private slots:
    void keepsTheTextUpToTheWorkLimit_data();
    void keepsTheTextUpToTheWorkLimit();
};

void TestAnalysis::keepsTheTextUpToTheWorkLimit_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<bool>("partial");
    const auto limit = qint64(CipherText::kWorkLimit);
    QTest::newRow("a short text") << qint64(1000) << false;
    QTest::newRow("one byte under the limit") << limit - 1 << false;
    QTest::newRow("exactly the limit") << limit << false;
    QTest::newRow("one byte over the limit") << limit + 1 << true;
    QTest::newRow("twice the limit") << 2 * limit << true;
}

void TestAnalysis::keepsTheTextUpToTheWorkLimit() {
    QFETCH(qint64, size);
    QFETCH(bool, partial);
    // "ab, " over and over: half the bytes are letters, a bigram every four bytes in between.
    std::string text(std::size_t(size), ' ');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = "ab, "[i % 4];
    }
    AnalysisBuilder builder;
    std::vector<std::int32_t> counts;
    std::int32_t total = 0;
    CountLettersInText(text, counts, total, {}, builder.Prefix());
    const Analysis analysis = builder.Finish(counts, total, {});

    // The counts cover the whole text; the text and its n-grams only what is kept.
    QCOMPARE(analysis.total, std::int32_t((size + 1) / 2));
    QCOMPARE(analysis.Partial(), partial);
    const std::size_t kept = std::min(text.size(), CipherText::kWorkLimit);
    QCOMPARE(analysis.text->bytes().size(), kept);
    QVERIFY(analysis.text->bytes() == std::string_view(text).substr(0, kept));
    QCOMPARE(std::uint64_t(analysis.text->total()), std::uint64_t((kept + 1) / 2));
    QCOMPARE(analysis.ngrams->Total(1), std::uint64_t((kept + 1) / 2));
    QVERIFY(analysis.HasLetters());
}

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
