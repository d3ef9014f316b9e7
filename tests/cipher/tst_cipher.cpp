#include "cipher_text.h"
#include "cipher_texts.h"
#include "key_mapping.h"
#include "key_search.h"
#include "reference_frequencies.h"
#include "substitution_key.h"
#include "text_statistics.h"

#include <QTest>

#include <map>
#include <random>

using namespace tallivo;

namespace {

std::string ItalianText() {
    return ItalianSample().toStdString();
}

std::string Encrypt(const std::string& plain, const std::string& keyword) {
    return Encrypt(QByteArray::fromStdString(plain), keyword).toStdString();
}

std::vector<int> Shifts(const std::string& keyword) {
    std::vector<int> shifts;
    for (const char c : keyword) {
        shifts.push_back(c - 'a');
    }
    return shifts;
}

} // namespace

class TestCipher : public QObject {
    Q_OBJECT

private slots:
    void caesarShiftIsFoundAndUndone();
    void vigenereKeyIsFoundAndUndone_data();
    void vigenereKeyIsFoundAndUndone();
    void countsUnderAKeyMatchARecount();
    void substitutionKeyText_data();
    void substitutionKeyText();
    void partialSubstitutionKeepsTheTextsShape();
    void kasiskiCountsTheDistancesEachPeriodDivides();
    void kasiskiCountsDistancesPastTheHistogram();
    void everyPeriodsColumnsAreCounted_data();
    void everyPeriodsColumnsAreCounted();
    void repeatsAreListedLongestThenCommonest_data();
    void repeatsAreListedLongestThenCommonest();
    void bestPeriodTakesTheSmallestWithinTheMargin_data();
    void bestPeriodTakesTheSmallestWithinTheMargin();
    void utf8IsToldFromOtherBytes_data();
    void utf8IsToldFromOtherBytes();
    void theWorkLimitNeverCutsACharacter_data();
    void theWorkLimitNeverCutsACharacter();
};

void TestCipher::caesarShiftIsFoundAndUndone() {
    const std::string plain = ItalianText();
    const CipherText cipher(Encrypt(plain, "h"));
    const int shift = BestShift(ShiftChiSquares(cipher.counts(), ItalianFrequencies()));
    QCOMPARE(shift, 7);
    std::string decrypted;
    MapBytes(cipher.bytes(), ShiftTable(shift), decrypted);
    QCOMPARE(decrypted, plain);
}

void TestCipher::vigenereKeyIsFoundAndUndone_data() {
    QTest::addColumn<QString>("keyword");
    QTest::newRow("six letters") << "chiave";
    QTest::newRow("five letters") << "libro";
    QTest::newRow("one letter is a shift") << "q";
}

void TestCipher::vigenereKeyIsFoundAndUndone() {
    QFETCH(QString, keyword);
    const std::string key = keyword.toStdString();
    const std::string plain = ItalianText();
    const CipherText cipher(Encrypt(plain, key));
    // The multiples of the period score as high, and must not win over it.
    const std::vector<double> ics = PeriodCoincidences(cipher.letters(), 20);
    QCOMPARE(BestPeriod(ics, ExpectedCoincidence(ItalianFrequencies())), int(key.size()));
    const std::vector<int> shifts =
        BestShifts(cipher.bytes(), int(key.size()), ItalianFrequencies());
    QCOMPARE(shifts, Shifts(key));
    std::string decrypted;
    ApplyShifts(cipher.bytes(), shifts, decrypted);
    QCOMPARE(decrypted, plain);
}

void TestCipher::countsUnderAKeyMatchARecount() {
    const CipherText cipher(Encrypt(ItalianText(), "verde"));
    std::string mapped;
    for (const int shift : {0, 1, 13, 25}) {
        MapBytes(cipher.bytes(), ShiftTable(shift), mapped);
        QCOMPARE(ShiftedCounts(cipher.counts(), shift), CipherText(mapped).counts());
    }
    const SubstitutionKey key = *SubstitutionKey::FromText("qwertyuiopasdfghjklzxcvbnm");
    MapBytes(cipher.bytes(), SubstitutionTable(key, '#'), mapped);
    QCOMPARE(SubstitutedCounts(cipher.counts(), key), CipherText(mapped).counts());
    const std::vector<int> shifts = Shifts("rosso");
    ApplyShifts(cipher.bytes(), shifts, mapped);
    QCOMPARE(ShiftedColumnCounts(ColumnCounts(cipher.bytes(), 5), shifts),
             CipherText(mapped).counts());

    // The longest keyword, and a text undone in pieces that carry the column on.
    const std::string plain = ItalianText();
    const std::string longest = "abcdefghijklmnopqrstuvwxyzabcd";
    const std::string encrypted = Encrypt(plain, longest);
    ApplyShifts(encrypted, Shifts(longest), mapped);
    QCOMPARE(mapped, plain);
    std::string whole;
    std::size_t column = 0;
    for (std::size_t at = 0; at < encrypted.size(); at += 333) {
        column = ApplyShifts(std::string_view(encrypted).substr(at, 333), Shifts(longest), mapped,
                             column);
        whole += mapped;
    }
    QCOMPARE(whole, plain);
}

void TestCipher::utf8IsToldFromOtherBytes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("valid");
    QTest::newRow("ASCII") << QByteArray("abc") << true;
    QTest::newRow("accented") << QByteArray("citt\xc3\xa0") << true;
    QTest::newRow("euro and an emoji") << QByteArray("\xe2\x82\xac \xf0\x9f\x98\x80") << true;
    QTest::newRow("Windows-1252") << QByteArray("citt\xe0") << false;
    QTest::newRow("cut short") << QByteArray("\xe2\x82") << false;
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << false;
    QTest::newRow("overlong, three bytes") << QByteArray("\xe0\x80\xaf") << false;
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << false;
    QTest::newRow("past U+10FFFF") << QByteArray("\xf4\x90\x80\x80") << false;
    QTest::newRow("stray continuation") << QByteArray("a\x80") << false;
    QTest::newRow("overlong NUL, two bytes") << QByteArray("\xc0\x80") << false;
    QTest::newRow("overlong, two bytes, C1") << QByteArray("\xc1\xbf") << false;
    QTest::newRow("overlong NUL, three bytes") << QByteArray("\xe0\x80\x80") << false;
    QTest::newRow("overlong U+07FF") << QByteArray("\xe0\x9f\xbf") << false;
    QTest::newRow("overlong NUL, four bytes") << QByteArray("\xf0\x80\x80\x80") << false;
    QTest::newRow("overlong U+FFFF") << QByteArray("\xf0\x8f\xbf\xbf") << false;
    QTest::newRow("first surrogate") << QByteArray("\xed\xa0\x80") << false;
    QTest::newRow("last surrogate") << QByteArray("\xed\xbf\xbf") << false;
    QTest::newRow("U+110000") << QByteArray("\xf4\x90\x80\x80") << false;
    QTest::newRow("lead F5") << QByteArray("\xf5\x80\x80\x80") << false;
    QTest::newRow("byte FF") << QByteArray("\xff") << false;
    QTest::newRow("bad third byte") << QByteArray("\xe2\x82\x41") << false;
    QTest::newRow("bad fourth byte") << QByteArray("\xf0\x9f\x98\x41") << false;
    QTest::newRow("four bytes cut short") << QByteArray("\xf0\x9f\x98") << false;
    QTest::newRow("U+007F") << QByteArray("\x7f") << true;
    QTest::newRow("U+0080") << QByteArray("\xc2\x80") << true;
    QTest::newRow("U+07FF") << QByteArray("\xdf\xbf") << true;
    QTest::newRow("U+0800") << QByteArray("\xe0\xa0\x80") << true;
    QTest::newRow("U+D7FF, before the surrogates") << QByteArray("\xed\x9f\xbf") << true;
    QTest::newRow("U+E000, after the surrogates") << QByteArray("\xee\x80\x80") << true;
    QTest::newRow("U+FFFF") << QByteArray("\xef\xbf\xbf") << true;
    QTest::newRow("U+10000") << QByteArray("\xf0\x90\x80\x80") << true;
    QTest::newRow("U+10FFFF") << QByteArray("\xf4\x8f\xbf\xbf") << true;
    QTest::newRow("nothing") << QByteArray() << true;
}

void TestCipher::utf8IsToldFromOtherBytes() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, valid);
    QCOMPARE(IsValidUtf8(bytes.toStdString()), valid);
}

void TestCipher::substitutionKeyText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("normalised");
    QTest::newRow("full, mixed case")
        << "QWERTYUIOPasdfghjklzxcvbnm" << true << "qwertyuiopasdfghjklzxcvbnm";
    QTest::newRow("partial") << "e.........................." << false << "";
    QTest::newRow("partial, 26") << "e........................." << true
                                 << "e.........................";
    QTest::newRow("25 characters") << "qwertyuiopasdfghjklzxcvbn" << false << "";
    QTest::newRow("27 characters") << "qwertyuiopasdfghjklzxcvbnmq" << false << "";
    QTest::newRow("a digit") << "qwertyuiopasdfghjklzxcvbn1" << false << "";
    QTest::newRow("a space") << "qwertyuiopasdfghjklzxcvbn " << false << "";
    QTest::newRow("an accented byte") << "qwertyuiopasdfghjklzxcvbn\xe8" << false << "";
}

void TestCipher::substitutionKeyText() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, normalised);
    const std::optional<SubstitutionKey> key =
        SubstitutionKey::FromText(text.toLatin1().toStdString());
    QCOMPARE(key.has_value(), valid);
    if (key) {
        QCOMPARE(QString::fromStdString(key->Text()), normalised);
    }
}

void TestCipher::partialSubstitutionKeepsTheTextsShape() {
    SubstitutionKey key;
    key.Assign('x' - 'a', 'e' - 'a');
    key.Assign('q' - 'a', 'e' - 'a');
    key.Assign('b' - 'a', 'l' - 'a');
    const std::array<bool, 26> repeated = key.Repeated();
    QVERIFY(repeated['x' - 'a'] && repeated['q' - 'a']);
    QVERIFY(!repeated['b' - 'a'] && !repeated['c' - 'a']);
    std::string mapped;
    MapBytes("Bxq, c\xc3\xa8!", SubstitutionTable(key, '\x01'), mapped);
    QCOMPARE(mapped, std::string("Lee, \x01\xc3\xa8!"));

    // By rank: the commonest cipher letter gets Italian's commonest, E; absent letters nothing.
    const CipherText cipher("zzzz yyy x");
    const SubstitutionKey proposed =
        SubstitutionKey::ByFrequency(cipher.counts(), ItalianFrequencies());
    QCOMPARE(proposed.PlainOf('z' - 'a'), 'e' - 'a');
    QCOMPARE(proposed.PlainOf('y' - 'a'), 'a' - 'a');
    QCOMPARE(proposed.PlainOf('a' - 'a'), SubstitutionKey::kNone);
}

void TestCipher::kasiskiCountsTheDistancesEachPeriodDivides() {
    // "abcxyabcqqqqabc": ABC at 0, 5 and 12, distances 5 and 7; QQQ at 8 and 9, distance 1.
    std::vector<std::uint8_t> letters;
    for (const char c : std::string("abcxyabcqqqqabc")) {
        letters.push_back(std::uint8_t(c - 'a'));
    }
    const KasiskiExamination result = Kasiski(letters, 7, 5);
    QCOMPARE(result.distances, std::uint64_t{3});
    QCOMPARE(result.divided, (std::vector<std::uint64_t>{3, 0, 0, 0, 1, 0, 1}));
    QCOMPARE(result.repeats.front().letters, std::string("ABC"));
    QCOMPARE(result.repeats.front().occurrences, std::uint64_t{3});
    QCOMPARE(result.repeats.front().distances, (std::vector<std::uint64_t>{5, 7}));

    // In a real ciphertext the true period divides more distances than its neighbours.
    const CipherText cipher(Encrypt(ItalianText(), "chiave"));
    const KasiskiExamination real = Kasiski(cipher.letters(), 20, 10);
    QVERIFY(real.divided[5] > real.divided[4] && real.divided[5] > real.divided[6]);

    // Examined block by block as a file is read, with periods and three-letter sequences
    // straddling the blocks, it gives the same.
    CipherText streamed;
    PeriodAnalysis analysis(20);
    const std::string& bytes = cipher.bytes();
    for (std::size_t at = 0; at < bytes.size(); at += 7) {
        const std::size_t size = std::min<std::size_t>(7, bytes.size() - at);
        streamed.Append(reinterpret_cast<const unsigned char*>(bytes.data()) + at, size);
        analysis.Update(streamed.letters());
    }
    QCOMPARE(streamed.letters(), cipher.letters());
    QCOMPARE(analysis.Coincidences(), PeriodCoincidences(cipher.letters(), 20));
    const KasiskiExamination streamedResult = analysis.Examination(streamed.letters(), 10);
    QCOMPARE(streamedResult.divided, real.divided);
    QCOMPARE(streamedResult.repeats.front().distances, real.repeats.front().distances);
}

void TestCipher::kasiskiCountsDistancesPastTheHistogram() {
    // Random letters repeat a three-letter sequence every 26^3 letters or so on average, so
    // that in 400,000 of them thousands of distances reach 65,536 or more.
    std::mt19937_64 random(3);
    std::vector<std::uint8_t> letters(400000);
    for (std::uint8_t& letter : letters) {
        letter = std::uint8_t(random() % 26);
    }
    std::uint64_t distances = 0;
    std::uint64_t longOnes = 0;
    std::vector<std::uint64_t> divided(40, 0);
    std::map<std::size_t, std::size_t> last;
    for (std::size_t i = 0; i + 3 <= letters.size(); ++i) {
        const std::size_t code = (letters[i] * 26U + letters[i + 1]) * 26U + letters[i + 2];
        if (const auto seen = last.find(code); seen != last.end()) {
            const std::size_t distance = i - seen->second;
            ++distances;
            longOnes += distance >= 65536 ? 1 : 0;
            for (std::size_t period = 1; period <= 40; ++period) {
                divided[period - 1] += distance % period == 0 ? 1 : 0;
            }
        }
        last[code] = i;
    }
    QVERIFY(longOnes > 1000);
    const KasiskiExamination result = Kasiski(letters, 40, 0);
    QCOMPARE(result.distances, distances);
    QCOMPARE(result.divided, divided);
}

void TestCipher::everyPeriodsColumnsAreCounted_data() {
    QTest::addColumn<int>("maxPeriod");
    QTest::newRow("one") << 1;
    QTest::newRow("seven") << 7;
    QTest::newRow("twenty") << 20;
    QTest::newRow("the workbench's limit") << kPeriodLimit;
}

void TestCipher::everyPeriodsColumnsAreCounted() {
    // The periods share their counts through a few moduli; each must still get its own columns,
    // however the text arrives.
    QFETCH(int, maxPeriod);
    const CipherText cipher(Encrypt(ItalianText(), "lampone"));
    PeriodAnalysis analysis(maxPeriod);
    std::vector<std::uint8_t> arrived;
    for (std::size_t at = 0; at < cipher.letters().size(); at += 97) {
        const std::size_t end = std::min(cipher.letters().size(), at + 97);
        arrived.insert(arrived.end(), cipher.letters().begin() + std::ptrdiff_t(at),
                       cipher.letters().begin() + std::ptrdiff_t(end));
        analysis.Update(arrived);
    }
    for (int period = 1; period <= maxPeriod; ++period) {
        QCOMPARE(analysis.ColumnCounts(period), ColumnCounts(cipher.bytes(), period));
    }
    QCOMPARE(analysis.Coincidences().size(), std::size_t(maxPeriod));
}

void TestCipher::repeatsAreListedLongestThenCommonest_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("repeats");
    QTest::newRow("the commoner later in the alphabet")
        << "abcxabcydefwdefvdefu" << QStringList{"DEF", "ABC"};
    QTest::newRow("the commoner earlier in the alphabet")
        << "abcxabcyabczdefwdefv" << QStringList{"ABC", "DEF"};
    QTest::newRow("a longer one before a commoner one")
        << "abcxabcyabczqrstuvkqrstuvh" << QStringList{"QRSTUV", "ABC"};
    // 45 letters with no three-letter sequence twice, repeated: the first 40 are shown, and
    // the rest goes on in a repeat of its own from the very next letter, none skipped. (Its
    // first sequence, AUJ, comes first in the alphabet of those as long, so it is taken first.)
    const QString block = "aujymxxuqaoyhubfdlphmrdshaxgnifymfyzcettoeeaa";
    QTest::newRow("a repeat past the longest shown goes on in a second")
        << block + "q" + block << QStringList{"AUJYMXXUQAOYHUBFDLPHMRDSHAXGNIFYMFYZCETT", "OEEAA"};
}

void TestCipher::repeatsAreListedLongestThenCommonest() {
    QFETCH(QString, text);
    QFETCH(QStringList, repeats);
    const CipherText cipher(text.toStdString());
    QStringList listed;
    for (const Repeat& repeat : Kasiski(cipher.letters(), 10, 10).repeats) {
        listed << QString::fromStdString(repeat.letters);
    }
    QCOMPARE(listed, repeats);
}

void TestCipher::bestPeriodTakesTheSmallestWithinTheMargin_data() {
    QTest::addColumn<QList<double>>("coincidences");
    QTest::addColumn<double>("language");
    QTest::addColumn<int>("period");
    // With the best at 0.070 the margin lies at 1/26 + 0.75 * (0.070 - 1/26) = 0.06212.
    QTest::newRow("just over the margin") << QList<double>{0.045, 0.0625, 0.070} << 0.074 << 2;
    QTest::newRow("just under the margin") << QList<double>{0.045, 0.0617, 0.070} << 0.074 << 3;
    // Past the language's coincidence the margin is measured from it: 0.06511.
    QTest::newRow("the language caps the best")
        << QList<double>{0.045, 0.0655, 0.090} << 0.074 << 2;
    QTest::newRow("capped, just under") << QList<double>{0.045, 0.0648, 0.090} << 0.074 << 3;
    QTest::newRow("a multiple scoring higher does not win")
        << QList<double>{0.040, 0.072, 0.041, 0.074, 0.040, 0.073} << 0.074 << 2;
    QTest::newRow("nothing") << QList<double>{} << 0.074 << 1;
}

void TestCipher::bestPeriodTakesTheSmallestWithinTheMargin() {
    QFETCH(QList<double>, coincidences);
    QFETCH(double, language);
    QFETCH(int, period);
    QCOMPARE(BestPeriod(std::vector<double>(coincidences.begin(), coincidences.end()), language),
             period);
}

void TestCipher::theWorkLimitNeverCutsACharacter_data() {
    constexpr int kLimit = int(CipherText::kWorkLimit);
    QTest::addColumn<int>("before"); // ASCII letters before the character
    QTest::addColumn<QByteArray>("character");
    QTest::addColumn<int>("after"); // ASCII letters after it
    QTest::addColumn<int>("kept");
    QTest::addColumn<bool>("truncated");
    QTest::newRow("one byte under") << kLimit - 1 << QByteArray() << 0 << kLimit - 1 << false;
    QTest::newRow("exactly the limit") << kLimit << QByteArray() << 0 << kLimit << false;
    QTest::newRow("one byte over") << kLimit + 1 << QByteArray() << 0 << kLimit << true;
    QTest::newRow("è cut after its first byte")
        << kLimit - 1 << QByteArray("\xc3\xa8") << 5 << kLimit - 1 << true;
    QTest::newRow("è ending at the limit")
        << kLimit - 2 << QByteArray("\xc3\xa8") << 5 << kLimit << true;
    QTest::newRow("€ cut after one byte")
        << kLimit - 1 << QByteArray("\xe2\x82\xac") << 5 << kLimit - 1 << true;
    QTest::newRow("€ cut after two bytes")
        << kLimit - 2 << QByteArray("\xe2\x82\xac") << 5 << kLimit - 2 << true;
    QTest::newRow("emoji cut after one byte")
        << kLimit - 1 << QByteArray("\xf0\x9f\x98\x80") << 5 << kLimit - 1 << true;
    QTest::newRow("emoji cut after two bytes")
        << kLimit - 2 << QByteArray("\xf0\x9f\x98\x80") << 5 << kLimit - 2 << true;
    QTest::newRow("emoji cut after three bytes")
        << kLimit - 3 << QByteArray("\xf0\x9f\x98\x80") << 5 << kLimit - 3 << true;
    QTest::newRow("emoji ending at the limit")
        << kLimit - 4 << QByteArray("\xf0\x9f\x98\x80") << 5 << kLimit << true;
    // A Windows-1252 è followed by a space is no UTF-8 character: it stays.
    QTest::newRow("Windows-1252 è at the last byte")
        << kLimit - 1 << QByteArray("\xe8 ") << 5 << kLimit << true;
}

void TestCipher::theWorkLimitNeverCutsACharacter() {
    QFETCH(int, before);
    QFETCH(QByteArray, character);
    QFETCH(int, after);
    QFETCH(int, kept);
    QFETCH(bool, truncated);
    const std::string text = std::string(std::size_t(before), 'a') + character.toStdString() +
                             std::string(std::size_t(after), 'b');
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    // Whole, and in blocks that never end where the limit falls.
    CipherText whole;
    whole.Reserve(text.size(), text.size());
    whole.Append(data, text.size());
    CipherText blocks;
    blocks.Reserve(text.size(), text.size());
    constexpr std::size_t kBlock = 65537;
    for (std::size_t at = 0; at < text.size(); at += kBlock) {
        blocks.Append(data + at, std::min(kBlock, text.size() - at));
    }
    for (const CipherText* cipher : {&whole, &blocks}) {
        QCOMPARE(cipher->bytes().size(), std::size_t(kept));
        QCOMPARE(cipher->truncated(), truncated);
        QCOMPARE(cipher->bytes(), text.substr(0, std::size_t(kept)));
        const std::size_t letters = std::size_t(std::min(before, kept)) +
                                    std::size_t(std::max(0, kept - before - int(character.size())));
        QCOMPARE(std::size_t(cipher->total()), letters);
        QCOMPARE(IsValidUtf8(cipher->bytes()), !character.startsWith('\xe8'));
    }
    // Once cut, the text takes nothing more.
    if (truncated) {
        whole.Append(reinterpret_cast<const unsigned char*>("zz"), 2);
        QCOMPARE(whole.bytes().size(), std::size_t(kept));
    }
}

QTEST_GUILESS_MAIN(TestCipher)
#include "tst_cipher.moc"
