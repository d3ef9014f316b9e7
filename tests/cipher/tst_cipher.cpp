#include "cipher_text.h"
#include "cipher_texts.h"
#include "key_mapping.h"
#include "key_search.h"
#include "reference_frequencies.h"
#include "substitution_key.h"
#include "text_statistics.h"

#include <QTest>

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
    void utf8IsToldFromOtherBytes_data();
    void utf8IsToldFromOtherBytes();
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

QTEST_GUILESS_MAIN(TestCipher)
#include "tst_cipher.moc"
