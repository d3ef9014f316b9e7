#include "affine_solver.h"
#include "autokey_solver.h"
#include "caesar_key.h"
#include "cipher_identification.h"
#include "cipher_text.h"
#include "cipher_texts.h"
#include "columnar_solver.h"
#include "key_mapping.h"
#include "letter_layout.h"
#include "periodic_crib.h"
#include "playfair_solver.h"
#include "rail_fence_solver.h"
#include "substitution_key.h"

#include <QTest>

#include <algorithm>
#include <set>

using namespace tallivo;

namespace {

const LanguageModel& Italian() {
    return LanguageModel::Get(Language::Italian);
}

// The first letters of the Italian sample, as letters (0 = a) and as text.
std::vector<std::uint8_t> SampleLetters(std::size_t count) {
    std::vector<std::uint8_t> letters = TextLetters(ItalianSample().toStdString());
    letters.resize(std::min(count, letters.size()));
    return letters;
}

std::string SampleText(std::size_t count) {
    std::string text;
    for (const std::uint8_t letter : SampleLetters(count)) {
        text += char('a' + letter);
    }
    return text;
}

std::vector<std::uint8_t> Indices(const std::string& word) {
    std::vector<std::uint8_t> letters;
    for (const char c : word) {
        letters.push_back(std::uint8_t((c | 0x20) - 'a'));
    }
    return letters;
}

} // namespace

Q_DECLARE_METATYPE(CipherKind)
Q_DECLARE_METATYPE(PeriodicSense)

class TestCipherSolvers : public QObject {
    Q_OBJECT

private slots:
    void affineKeysAreRanked_data();
    void affineKeysAreRanked();
    void railFenceIsFound_data();
    void railFenceIsFound();
    void columnarIsFound_data();
    void columnarIsFound();
    void autokeyIsFound_data();
    void autokeyIsFound();
    void playfairIsFound();
    void searchesStopWhenAsked();
    void searchesReportProgressAndFollowTheSeed();
    void theCipherIsIdentified_data();
    void theCipherIsIdentified();
    void tooShortATextIsNotJudged_data();
    void tooShortATextIsNotJudged();
    void aProbableWordGivesTheKeyWhereItFits_data();
    void aProbableWordGivesTheKeyWhereItFits();
};

void TestCipherSolvers::affineKeysAreRanked_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("letters");
    QTest::newRow("5, 8 on 100 letters") << 5 << 8 << 100;
    QTest::newRow("Atbash on 100 letters") << 25 << 25 << 100;
    QTest::newRow("a shift on 100 letters") << 1 << 3 << 100;
    QTest::newRow("21, 4 on 300 letters") << 21 << 4 << 300;
    QTest::newRow("the identity") << 1 << 0 << 100;
}

void TestCipherSolvers::affineKeysAreRanked() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, letters);
    const AffineKey key(a, b);
    std::string encrypted;
    key.Encrypt(SampleText(std::size_t(letters)), encrypted);
    const std::vector<AffineCandidate> ranked = RankAffineKeys(TextLetters(encrypted), Italian());
    QCOMPARE(ranked.size(), std::size_t(AffineKey::kKeys));
    QCOMPARE(ranked.front().key, key);
    std::set<std::string> keys;
    for (const AffineCandidate& candidate : ranked) {
        keys.insert(candidate.key.Text());
    }
    QCOMPARE(keys.size(), ranked.size());
    // Best first, by quadgrams; the chi-squared of the best is the plaintext's.
    QVERIFY(std::is_sorted(
        ranked.begin(), ranked.end(),
        [](const AffineCandidate& x, const AffineCandidate& y) { return x.score > y.score; }));
    QVERIFY(ranked.front().chiSquare < ranked.back().chiSquare);
    // From the counts alone the chi-squared ranks the key first as well.
    QCOMPARE(AffineChiSquares(CipherText(encrypted).counts(), ItalianFrequencies()).front().key,
             key);
}

void TestCipherSolvers::railFenceIsFound_data() {
    QTest::addColumn<int>("rails");
    QTest::addColumn<int>("letters");
    QTest::newRow("2 rails, 100 letters") << 2 << 100;
    QTest::newRow("3 rails, 100 letters") << 3 << 100;
    QTest::newRow("11 rails, 100 letters") << 11 << 100;
    QTest::newRow("20 rails, 150 letters") << 20 << 150;
}

void TestCipherSolvers::railFenceIsFound() {
    QFETCH(int, rails);
    QFETCH(int, letters);
    const std::vector<std::uint8_t> cipher =
        RailFenceKey(rails).EncryptLetters(SampleLetters(std::size_t(letters)));
    const std::vector<Found<RailFenceKey>> ranked = RankRailFences(cipher, Italian());
    QCOMPARE(ranked.size(), std::size_t(RailFenceKey::kMost - RailFenceKey::kFewest + 1));
    QCOMPARE(ranked.front().key.rails(), rails);
    QVERIFY(ranked.front().score > ranked[1].score);
}

void TestCipherSolvers::columnarIsFound_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("letters");
    QTest::addColumn<int>("most");
    QTest::addColumn<int>("scored"); // letters of the plaintext each key is judged by; 0: all
    QTest::newRow("3 columns") << "2 3 1" << 300 << 8 << 0;
    QTest::newRow("5 columns, the last row full") << "4 1 5 3 2" << 300 << 8 << 0;
    QTest::newRow("8 columns") << "6 3 8 1 7 2 5 4" << 300 << 12 << 0;
    QTest::newRow("10 columns, by climbing") << "7 3 10 1 9 4 2 8 5 6" << 1000 << 10 << 0;
    // A long text is judged by its first rows: the short last row lies far below them.
    QTest::newRow("7 columns judged by the first rows") << "5 2 7 1 3 6 4" << 1601 << 8 << 300;
    QTest::newRow("more letters scored than the text has") << "3 1 4 2" << 301 << 6 << 5000;
    QTest::newRow("as many rows scored as the text has whole") << "2 1 3" << 301 << 4 << 300;
}

void TestCipherSolvers::columnarIsFound() {
    QFETCH(QString, key);
    QFETCH(int, letters);
    QFETCH(int, most);
    QFETCH(int, scored);
    const ColumnarKey columnar = ColumnarKey::Parse(key.toStdString()).key();
    const std::vector<std::uint8_t> cipher =
        columnar.EncryptLetters(SampleLetters(std::size_t(letters)));
    ColumnarSearch search;
    search.fewest = most > 8 ? int(columnar.columns()) : 2;
    search.most = most;
    search.climbs = 10;
    search.scoredLetters = std::size_t(scored);
    const Found<ColumnarKey> found = SolveColumnar(cipher, Italian(), search, {}, {});
    QCOMPARE(QString::fromStdString(found.key.Text()), key);
    QVERIFY(!found.stopped);
    // Whole rows are scored, the short last row only when every row is.
    const int columns = int(columnar.columns());
    const int rows = (scored + columns - 1) / columns;
    const int judged = scored == 0 || rows > letters / columns ? letters : rows * columns;
    QCOMPARE(found.score, QuadgramScorer(Italian()).Score(SampleLetters(std::size_t(judged))));
}

void TestCipherSolvers::autokeyIsFound_data() {
    QTest::addColumn<QString>("primer");
    QTest::newRow("one letter") << "R";
    QTest::newRow("A, that leaves the first letter") << "A";
    QTest::newRow("five letters") << "VENTO";
    QTest::newRow("ten letters") << "CAMPANELLO";
    QTest::newRow("twenty letters") << "ILTRENODELLESETTEDIE";
}

void TestCipherSolvers::autokeyIsFound() {
    QFETCH(QString, primer);
    const AutokeyKey key = AutokeyKey::Parse(primer.toStdString()).key();
    std::vector<std::uint8_t> cipher = SampleLetters(500);
    key.EncryptLetters(cipher);
    const Found<AutokeyKey> found = SolveAutokey(cipher, Italian(), AutokeySearch{}, {}, {});
    QCOMPARE(QString::fromStdString(found.key.Text()), primer);
}

void TestCipherSolvers::playfairIsFound() {
    const PlayfairKey key = PlayfairKey::Parse("lucciola").key();
    const std::vector<std::uint8_t> cipher = key.EncryptLetters(SampleLetters(600));
    PlayfairSearch search;
    search.seed = 5;
    const Found<PlayfairKey> found = SolvePlayfair(cipher, Italian(), search, {}, {});
    // A square with its rows or columns turned round enciphers alike: the plaintext tells.
    QCOMPARE(found.key.DecryptLetters(cipher), key.DecryptLetters(cipher));
    QVERIFY(found.score > (LanguageQuadgramLevel(Italian()) - 0.5) * double(cipher.size() - 3));
}

void TestCipherSolvers::searchesStopWhenAsked() {
    std::stop_source stop;
    stop.request_stop();
    const std::vector<std::uint8_t> cipher = SampleLetters(300);
    int reports = 0;
    const SearchProgress progress = [&reports](double) { ++reports; };
    QVERIFY(SolveColumnar(cipher, Italian(), ColumnarSearch{}, stop.get_token(), progress).stopped);
    QVERIFY(SolveAutokey(cipher, Italian(), AutokeySearch{}, stop.get_token(), progress).stopped);
    QVERIFY(SolvePlayfair(cipher, Italian(), PlayfairSearch{}, stop.get_token(), progress).stopped);
    QCOMPARE(reports, 0);
}

void TestCipherSolvers::searchesReportProgressAndFollowTheSeed() {
    const std::vector<std::uint8_t> cipher =
        PlayfairKey::Parse("gelato").key().EncryptLetters(SampleLetters(200));
    PlayfairSearch search;
    search.runs = 2;
    search.steps = 4;
    search.trialsPerStep = 300;
    search.seed = 77;
    std::vector<double> shares;
    const Found<PlayfairKey> first = SolvePlayfair(
        cipher, Italian(), search, {}, [&shares](double share) { shares.push_back(share); });
    QVERIFY(shares.size() >= 4);
    QVERIFY(std::is_sorted(shares.begin(), shares.end()));
    QVERIFY(shares.front() > 0.0);
    QCOMPARE(shares.back(), 1.0);
    const Found<PlayfairKey> again = SolvePlayfair(cipher, Italian(), search, {}, {});
    QCOMPARE(again.key, first.key);
    QCOMPARE(again.score, first.score);

    shares.clear();
    ColumnarSearch columnar;
    columnar.most = 10;
    columnar.climbs = 2;
    SolveColumnar(SampleLetters(120), Italian(), columnar, {},
                  [&shares](double share) { shares.push_back(share); });
    QVERIFY(std::is_sorted(shares.begin(), shares.end()));
    QVERIFY(shares.back() <= 1.0 && shares.back() > 0.99);
}

void TestCipherSolvers::theCipherIsIdentified_data() {
    QTest::addColumn<QString>("cipher");
    QTest::addColumn<QString>("key");
    QTest::addColumn<CipherKind>("kind");
    QTest::newRow("columnar") << "columnar"
                              << "3 1 4 2 5" << CipherKind::Transposition;
    QTest::newRow("rail fence") << "railfence"
                                << "4" << CipherKind::Transposition;
    QTest::newRow("Caesar") << "caesar"
                            << "11" << CipherKind::Caesar;
    QTest::newRow("Atbash") << "affine"
                            << "25,25" << CipherKind::Affine;
    QTest::newRow("affine") << "affine"
                            << "7,2" << CipherKind::Affine;
    QTest::newRow("substitution") << "substitution"
                                  << "qwertyuiopasdfghjklzxcvbnm" << CipherKind::Substitution;
    QTest::newRow("Vigenère") << "vigenere"
                              << "sole" << CipherKind::VigenereFamily;
    QTest::newRow("Beaufort") << "beaufort"
                              << "nuvolette" << CipherKind::VigenereFamily;
    QTest::newRow("autokey") << "autokey"
                             << "brezza" << CipherKind::AutokeyOrRunning;
    QTest::newRow("Playfair") << "playfair"
                              << "temporale" << CipherKind::Playfair;
}

void TestCipherSolvers::theCipherIsIdentified() {
    QFETCH(QString, cipher);
    QFETCH(QString, key);
    QFETCH(CipherKind, kind);
    const std::string plain = SampleText(300);
    const std::string keyText = key.toStdString();
    std::string encrypted;
    if (cipher == "columnar") {
        ColumnarKey::Parse(keyText).key().Encrypt(plain, encrypted);
    } else if (cipher == "railfence") {
        RailFenceKey::Parse(keyText).key().Encrypt(plain, encrypted);
    } else if (cipher == "caesar") {
        CaesarKey::Parse(keyText).key().Encrypt(plain, encrypted);
    } else if (cipher == "affine") {
        AffineKey::Parse(keyText).key().Encrypt(plain, encrypted);
    } else if (cipher == "substitution") {
        MapBytes(plain, SubstitutionTable(SubstitutionKey::Parse(keyText).key(), '?'), encrypted);
    } else if (cipher == "vigenere" || cipher == "beaufort") {
        const PeriodicSense sense =
            cipher == "vigenere" ? PeriodicSense::Vigenere : PeriodicSense::Beaufort;
        PeriodicKey::Parse(sense, keyText).key().Encrypt(plain, encrypted);
    } else if (cipher == "autokey") {
        AutokeyKey::Parse(keyText).key().Encrypt(plain, encrypted);
    } else {
        encrypted = PlayfairKey::Parse(keyText).key().Encrypt(plain);
    }
    const Verdict verdict = IdentifyCipher(TextLetters(encrypted), Italian());
    QCOMPARE(verdict.kind, kind);
    QVERIFY(verdict.confidence != Confidence::Low);
    const auto reason = [&verdict](Figure figure) {
        const auto found =
            std::find_if(verdict.reasons.begin(), verdict.reasons.end(),
                         [figure](const Reason& reason) { return reason.figure == figure; });
        return found == verdict.reasons.end() ? std::optional<Reason>() : *found;
    };
    QVERIFY(reason(Figure::Coincidence).has_value());
    switch (kind) {
    case CipherKind::Transposition:
        QVERIFY(reason(Figure::ChiSquareUnshifted)->value <=
                reason(Figure::ChiSquareUnshifted)->language);
        break;
    case CipherKind::Caesar:
        QCOMPARE(verdict.shift, 11);
        QVERIFY(reason(Figure::ChiSquareUnshifted)->value >
                reason(Figure::ChiSquareUnshifted)->language);
        break;
    case CipherKind::Affine:
        QCOMPARE(QString::fromStdString(verdict.affine.Text()), key.replace(' ', ""));
        QVERIFY(reason(Figure::ChiSquareBestShift)->value >
                reason(Figure::ChiSquareBestShift)->language);
        break;
    case CipherKind::Substitution:
        QVERIFY(reason(Figure::ChiSquareBestAffine)->value >
                reason(Figure::ChiSquareBestAffine)->language);
        break;
    case CipherKind::VigenereFamily:
        QCOMPARE(verdict.periods.period, std::optional<int>(key.size()));
        QVERIFY(reason(Figure::PeriodStrength)->value >= reason(Figure::PeriodStrength)->language);
        break;
    case CipherKind::AutokeyOrRunning:
        QVERIFY(reason(Figure::PeriodStrength)->value < reason(Figure::PeriodStrength)->language);
        break;
    case CipherKind::Playfair:
        QCOMPARE(reason(Figure::DoubledPairs)->value, 0.0);
        QVERIFY(reason(Figure::DoubledPairs)->language > 4.0);
        break;
    case CipherKind::TooShort:
        break;
    }
}

void TestCipherSolvers::tooShortATextIsNotJudged_data() {
    QTest::addColumn<int>("letters");
    QTest::addColumn<bool>("judged");
    QTest::newRow("none") << 0 << false;
    QTest::newRow("79") << 79 << false;
    QTest::newRow("80") << 80 << true;
}

void TestCipherSolvers::tooShortATextIsNotJudged() {
    QFETCH(int, letters);
    QFETCH(bool, judged);
    const Verdict verdict = IdentifyCipher(SampleLetters(std::size_t(letters)), Italian());
    QCOMPARE(verdict.kind != CipherKind::TooShort, judged);
    QCOMPARE(verdict.reasons.front().figure, Figure::Letters);
    QCOMPARE(verdict.reasons.front().value, double(letters));
    QCOMPARE(verdict.reasons.front().language, double(kFewestLettersToJudge));
    if (judged) {
        QCOMPARE(verdict.kind, CipherKind::Transposition);
    }
}

void TestCipherSolvers::aProbableWordGivesTheKeyWhereItFits_data() {
    QTest::addColumn<PeriodicSense>("sense");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("word");
    QTest::newRow("Vigenère") << PeriodicSense::Vigenere << "LAGO"
                              << "pescatori";
    QTest::newRow("Beaufort") << PeriodicSense::Beaufort << "RIVA"
                              << "osteria";
    QTest::newRow("variant Beaufort") << PeriodicSense::VariantBeaufort << "PONTE"
                                      << "pescatori";
}

void TestCipherSolvers::aProbableWordGivesTheKeyWhereItFits() {
    QFETCH(PeriodicSense, sense);
    QFETCH(QString, keyword);
    QFETCH(QString, word);
    const PeriodicKey key = PeriodicKey::Parse(sense, keyword.toStdString()).key();
    const std::string plain = SampleText(300);
    std::string encrypted;
    key.Encrypt(plain, encrypted);
    const std::vector<std::uint8_t> cipher = TextLetters(encrypted);
    const std::vector<CribPlacement> placements =
        SlideProbableWord(cipher, Indices(word.toStdString()), sense);
    QCOMPARE(placements.size(), cipher.size() - std::size_t(word.size()) + 1);
    const std::size_t at = plain.find(word.toStdString());
    QVERIFY(at != std::string::npos);
    // Long enough for the key letters to repeat over three letters.
    QVERIFY(word.size() >= keyword.size() + kCribRepeatOver);
    const CribPlacement& right = placements[at];
    const int period = int(keyword.size());
    QCOMPARE(right.offset, at);
    QCOMPARE(right.repeat, period);
    QVERIFY(RepeatsWithPeriod(right, period));
    // Its key letters are the keyword's, from the column the word starts in.
    for (int i = 0; i < word.size(); ++i) {
        QCOMPARE(right.keyLetters[std::size_t(i)],
                 keyword.toStdString()[(at + std::size_t(i)) % std::size_t(period)]);
    }
    const std::vector<int> columns = KeyOfPlacement(right, period);
    for (int column = 0; column < period; ++column) {
        QCOMPARE(columns[std::size_t(column)], keyword.toStdString()[std::size_t(column)] - 'A');
    }
    // Most other places give letters that repeat with no period.
    const auto repeating = std::count_if(
        placements.begin(), placements.end(),
        [period](const CribPlacement& placement) { return RepeatsWithPeriod(placement, period); });
    QVERIFY(repeating <= 3);
}

QTEST_GUILESS_MAIN(TestCipherSolvers)
#include "tst_cipher_solvers.moc"
