#include "language_model.h"
#include "reference_frequencies.h"

#include <QTest>

#include <cmath>
#include <map>
#include <numeric>
#include <stdexcept>

using namespace tallivo;

namespace {

// A language of its own: letters and words as in the data files, and n-grams given as
// letters with counts, written in the format scripts/derive-language-data uses.
std::string
Header(const std::string& letters = "3 1 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0") {
    return "# test\nsource\tprove\nwords\t10\nletters\t" + letters + "\nab\t6\nabc\t3\n";
}

void PutNumber(std::string& out, std::uint64_t value) {
    do {
        const auto low = static_cast<unsigned char>(value & 0x7FU);
        value >>= 7;
        out.push_back(char(value != 0 ? (low | 0x80U) : low));
    } while (value != 0);
}

void PutWord32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(char((value >> (8 * i)) & 0xFFU));
    }
}

std::size_t Index(const std::string& gram) {
    std::size_t index = 0;
    for (const char c : gram) {
        index = index * 26 + std::size_t(c - 'a');
    }
    return index;
}

// grams: for n = 2, 3, 4, each n-gram with its count; the totals are their sums.
std::string Ngrams(const std::map<std::string, std::uint32_t>& grams) {
    std::string out("TLNG\x01", 5);
    for (std::size_t n = 2; n <= 4; ++n) {
        std::map<std::size_t, std::uint32_t> entries;
        std::uint32_t total = 0;
        for (const auto& [gram, count] : grams) {
            if (gram.size() == n) {
                entries[Index(gram)] = count;
                total += count;
            }
        }
        PutWord32(out, total);
        PutWord32(out, std::uint32_t(entries.size()));
        std::size_t previous = std::size_t(-1);
        for (const auto& [index, count] : entries) {
            PutNumber(out, index - previous);
            PutNumber(out, count);
            previous = index;
        }
    }
    return out;
}

const std::map<std::string, std::uint32_t> kSmallGrams{{"ab", 2},  {"bc", 2},   {"abc", 1},
                                                       {"bca", 3}, {"abca", 3}, {"bcab", 1}};

std::vector<std::uint8_t> Letters(std::string_view text) {
    std::vector<std::uint8_t> letters;
    for (const char c : text) {
        letters.push_back(std::uint8_t(c - 'a'));
    }
    return letters;
}

} // namespace

class TestLanguageModel : public QObject {
    Q_OBJECT

private slots:
    void lettersSumToAHundredAndCiteTheCorpus_data();
    void lettersSumToAHundredAndCiteTheCorpus();
    void ngramProbabilitiesSumToOneAboveTheFloor_data();
    void ngramProbabilitiesSumToOneAboveTheFloor();
    void quadgramScoreIsTheSumOfItsQuadgrams_data();
    void quadgramScoreIsTheSumOfItsQuadgrams();
    void unseenNgramsGetTheFloor();
    void rankedListsAreCommonestFirst_data();
    void rankedListsAreCommonestFirst();
    void wordsAreLettersOnlyCommonestFirst();
    void referenceTablesAreTheModelsLetters_data();
    void referenceTablesAreTheModelsLetters();
    void malformedDataIsRefused_data();
    void malformedDataIsRefused();
};

void TestLanguageModel::lettersSumToAHundredAndCiteTheCorpus_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("corpus");
    QTest::addColumn<int>("letter");
    QTest::addColumn<double>("percent"); // as scripts/derive-language-data prints it
    QTest::newRow("Italian h") << Language::Italian << "fortunes-it" << 7 << 1.33;
    QTest::newRow("Italian z") << Language::Italian << "fortunes-it" << 25 << 0.76;
    QTest::newRow("English e") << Language::English << "World English Bible" << 4 << 12.62;
    QTest::newRow("English q") << Language::English << "Devil's Dictionary" << 16 << 0.04;
}

void TestLanguageModel::lettersSumToAHundredAndCiteTheCorpus() {
    QFETCH(Language, language);
    QFETCH(QString, corpus);
    QFETCH(int, letter);
    QFETCH(double, percent);
    const LanguageModel& model = LanguageModel::Get(language);
    const auto& letters = model.Letters();
    QVERIFY(std::abs(std::accumulate(letters.begin(), letters.end(), 0.0) - 100.0) < 1e-9);
    QCOMPARE(std::round(letters[std::size_t(letter)] * 100.0) / 100.0, percent);
    QVERIFY(QString::fromUtf8(model.Source().data(), qsizetype(model.Source().size()))
                .contains(corpus));
}

void TestLanguageModel::ngramProbabilitiesSumToOneAboveTheFloor_data() {
    QTest::addColumn<Language>("language");
    QTest::newRow("Italian") << Language::Italian;
    QTest::newRow("English") << Language::English;
}

void TestLanguageModel::ngramProbabilitiesSumToOneAboveTheFloor() {
    QFETCH(Language, language);
    const LanguageModel& model = LanguageModel::Get(language);
    double bigrams = 0.0;
    double trigrams = 0.0;
    double quadgrams = 0.0;
    for (int a = 0; a < 26; ++a) {
        for (int b = 0; b < 26; ++b) {
            if (model.Bigram(a, b) > model.Floor(2)) {
                bigrams += std::pow(10.0, model.Bigram(a, b));
            }
            for (int c = 0; c < 26; ++c) {
                if (model.Trigram(a, b, c) > model.Floor(3)) {
                    trigrams += std::pow(10.0, model.Trigram(a, b, c));
                }
                for (int d = 0; d < 26; ++d) {
                    if (model.Quadgram(a, b, c, d) > model.Floor(4)) {
                        quadgrams += std::pow(10.0, model.Quadgram(a, b, c, d));
                    }
                }
            }
        }
    }
    QVERIFY(std::abs(bigrams - 1.0) < 1e-4);
    QVERIFY(std::abs(trigrams - 1.0) < 1e-4);
    QVERIFY(std::abs(quadgrams - 1.0) < 1e-4);
}

void TestLanguageModel::quadgramScoreIsTheSumOfItsQuadgrams_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    // abca 3 of 4, bcab 1 of 4, anything else 0.3 of 4.
    const double abca = std::log10(0.75);
    const double bcab = std::log10(0.25);
    const double floor = std::log10(0.3 / 4);
    QTest::newRow("three letters score nothing") << "abc" << 0.0;
    QTest::newRow("one quadgram") << "abca" << abca;
    QTest::newRow("overlapping") << "abcab" << abca + bcab;
    QTest::newRow("unseen in the middle") << "abcabb" << abca + bcab + floor;
    QTest::newRow("repeated") << "abcabca" << abca + bcab + std::log10(0.3 / 4) + abca;
}

void TestLanguageModel::quadgramScoreIsTheSumOfItsQuadgrams() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    const LanguageModel model(Header(), Ngrams(kSmallGrams));
    const std::vector<std::uint8_t> letters = Letters(text.toStdString());
    QVERIFY(std::abs(model.QuadgramScore(letters) - expected) < 1e-6);
}

void TestLanguageModel::unseenNgramsGetTheFloor() {
    const LanguageModel model(Header(), Ngrams(kSmallGrams));
    QCOMPARE(model.Bigram(0, 1), float(std::log10(0.5)));
    QCOMPARE(model.Bigram(1, 0), model.Floor(2));
    QCOMPARE(model.Floor(2), float(std::log10(LanguageModel::kFloorCount / 4)));
    QCOMPARE(model.Trigram(1, 2, 0), float(std::log10(0.75)));
    QCOMPARE(model.Trigram(25, 25, 25), model.Floor(3));
    QCOMPARE(model.Quadgram(0, 0, 0, 0), model.Floor(4));

    // In the real data the floor is below every n-gram seen, however rare.
    const LanguageModel& italian = LanguageModel::Get(Language::Italian);
    const auto quadgrams = italian.Quadgrams();
    float lowestSeen = 0.0F;
    for (const float value : quadgrams) {
        if (value != italian.Floor(4)) {
            lowestSeen = std::min(lowestSeen, value);
        }
    }
    QVERIFY(italian.Floor(4) < lowestSeen);
    QCOMPARE(italian.Quadgram(16, 16, 16, 16), italian.Floor(4)); // "qqqq"
}

void TestLanguageModel::rankedListsAreCommonestFirst_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("trigram");
    QTest::addColumn<QString>("twoLetterWord");
    QTest::addColumn<QString>("doubled");
    QTest::newRow("Italian") << Language::Italian << "che"
                             << "di"
                             << "ll";
    QTest::newRow("English") << Language::English << "the"
                             << "of"
                             << "ll";
}

void TestLanguageModel::rankedListsAreCommonestFirst() {
    QFETCH(Language, language);
    QFETCH(QString, trigram);
    QFETCH(QString, twoLetterWord);
    QFETCH(QString, doubled);
    const LanguageModel& model = LanguageModel::Get(language);
    QCOMPARE(QString::fromStdString(model.CommonestTrigrams().at(0).text), trigram);
    QCOMPARE(QString::fromStdString(model.ShortWords(2).at(0).text), twoLetterWord);
    QCOMPARE(QString::fromStdString(model.DoubledLetters().at(0).text), doubled);
    QCOMPARE(model.DoubledLetters().size(), std::size_t(26));
    QCOMPARE(model.CommonestBigrams().size(), std::size_t(50));

    for (const auto* list :
         {&model.CommonestBigrams(), &model.CommonestTrigrams(), &model.DoubledLetters(),
          &model.ShortWords(1), &model.ShortWords(2), &model.ShortWords(3)}) {
        QVERIFY(!list->empty());
        for (std::size_t i = 1; i < list->size(); ++i) {
            QVERIFY((*list)[i - 1].count >= (*list)[i].count);
        }
    }
    for (int length = 1; length <= 3; ++length) {
        for (const LanguageModel::Ranked& word : model.ShortWords(length)) {
            QCOMPARE(word.text.size(), std::size_t(length));
        }
    }
    // A share is the count over the n-grams of the corpus: the top bigram's percent is its
    // probability.
    const LanguageModel::Ranked& top = model.CommonestBigrams()[0];
    QVERIFY(std::abs(std::log10(top.percent / 100.0) -
                     model.Bigram(top.text[0] - 'a', top.text[1] - 'a')) < 1e-5);
}

void TestLanguageModel::wordsAreLettersOnlyCommonestFirst() {
    for (const Language language : {Language::Italian, Language::English}) {
        const auto& words = LanguageModel::Get(language).Words();
        QVERIFY(words.size() >= 5000);
        for (std::size_t i = 0; i < words.size(); ++i) {
            QVERIFY(!words[i].text.empty());
            QVERIFY(words[i].text.find_first_not_of("abcdefghijklmnopqrstuvwxyz") ==
                    std::string::npos);
            QVERIFY(i == 0 || words[i - 1].count > words[i].count ||
                    (words[i - 1].count == words[i].count && words[i - 1].text < words[i].text));
        }
    }
    // Accents are folded away and elisions split: "perché" and "perche'" are both "perche".
    const auto& italian = LanguageModel::Get(Language::Italian).Words();
    QVERIFY(std::any_of(italian.begin(), italian.end(),
                        [](const LanguageModel::Word& w) { return w.text == "perche"; }));
}

void TestLanguageModel::referenceTablesAreTheModelsLetters_data() {
    QTest::addColumn<Language>("language");
    QTest::newRow("Italian") << Language::Italian;
    QTest::newRow("English") << Language::English;
}

void TestLanguageModel::referenceTablesAreTheModelsLetters() {
    QFETCH(Language, language);
    const ReferenceTable& table =
        language == Language::Italian ? ItalianFrequencies() : EnglishFrequencies();
    const auto& letters = LanguageModel::Get(language).Letters();
    for (std::size_t i = 0; i < 26; ++i) {
        QCOMPARE(table[i], std::round(letters[i] * 100.0) / 100.0);
    }
}

void TestLanguageModel::malformedDataIsRefused_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("ngrams");
    const std::string good = Ngrams(kSmallGrams);
    std::string unbalanced = good;
    unbalanced[5] = 9; // the bigram total no longer matches its counts
    const auto bytes = [](const std::string& s) { return QByteArray::fromStdString(s); };
    QTest::newRow("truncated n-grams") << bytes(Header()) << bytes(good.substr(0, good.size() - 1));
    QTest::newRow("trailing bytes") << bytes(Header()) << bytes(good + '\0');
    QTest::newRow("another version") << bytes(Header()) << bytes("TLNG\x02" + good.substr(5));
    QTest::newRow("totals that do not add up") << bytes(Header()) << bytes(unbalanced);
    QTest::newRow("25 letter counts")
        << bytes(Header("1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1")) << bytes(good);
    QTest::newRow("no letters at all")
        << bytes(Header("0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0")) << bytes(good);
    QTest::newRow("a word with a capital") << bytes(Header() + "Roma\t3\n") << bytes(good);
    QTest::newRow("a word without its count") << bytes(Header() + "roma\n") << bytes(good);
    QTest::newRow("no source line") << QByteArray("# test\nwords\t1\n") << bytes(good);
}

void TestLanguageModel::malformedDataIsRefused() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, ngrams);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             LanguageModel(text.toStdString(), ngrams.toStdString()));
    // The same text with good n-grams, and good data, build.
    QVERIFY_THROWS_NO_EXCEPTION(LanguageModel(Header(), Ngrams(kSmallGrams)));
}

QTEST_GUILESS_MAIN(TestLanguageModel)
#include "tst_language_model.moc"
