#include "autokey_key.h"
#include "letter_mapping.h"
#include "text_decoding.h"

#include <QTest>

#include <cctype>

using namespace tallivo;

class TestLetterMapping : public QObject {
    Q_OBJECT

private slots:
    void aPeriodicKeyGoesOnAcrossPieces_data();
    void aPeriodicKeyGoesOnAcrossPieces();
    void anAutokeyGoesOnFromAnyPiece_data();
    void anAutokeyGoesOnFromAnyPiece();
    void movedLettersGoOnAcrossPieces_data();
    void movedLettersGoOnAcrossPieces();
    void windows1252HasNoCharacterForFiveBytes_data();
    void windows1252HasNoCharacterForFiveBytes();
    void incompleteUtf8Tail_data();
    void incompleteUtf8Tail();
};

void TestLetterMapping::aPeriodicKeyGoesOnAcrossPieces_data() {
    QTest::addColumn<int>("cut");
    QTest::newRow("whole") << 100;
    QTest::newRow("inside the first word") << 2;
    QTest::newRow("on a space") << 5;
    QTest::newRow("every byte a piece") << 1;
}

void TestLetterMapping::aPeriodicKeyGoesOnAcrossPieces() {
    QFETCH(int, cut);
    // "Attack at dawn!" under the keyword "lemon", case and punctuation kept.
    const std::string cipher = "Lxfopv ef rnhr!";
    const PeriodicShiftMapping mapping({11, 4, 12, 14, 13});
    std::string plain;
    std::string piece;
    std::size_t letter = 0;
    for (std::size_t at = 0; at < cipher.size(); at += std::size_t(cut)) {
        letter = mapping.Map(std::string_view(cipher).substr(at, std::size_t(cut)), piece, letter);
        plain += piece;
    }
    QCOMPARE(QByteArray::fromStdString(plain), QByteArray("Attack at dawn!"));
    QCOMPARE(letter, std::size_t(12));
}

void TestLetterMapping::anAutokeyGoesOnFromAnyPiece_data() {
    QTest::addColumn<QByteArray>("primer");
    QTest::addColumn<QList<int>>("starts"); // the bytes pieces start at, in the order mapped
    QTest::newRow("whole") << QByteArray("queen") << QList<int>{0};
    QTest::newRow("in order") << QByteArray("queen") << QList<int>{0, 3, 4, 17, 30};
    QTest::newRow("from the end back") << QByteArray("queen") << QList<int>{30, 17, 4, 0};
    QTest::newRow("the same piece twice") << QByteArray("k") << QList<int>{9, 9, 0};
    QTest::newRow("primer longer than a piece") << QByteArray("tramontana") << QList<int>{2, 40};
}

void TestLetterMapping::anAutokeyGoesOnFromAnyPiece() {
    QFETCH(QByteArray, primer);
    QFETCH(QList<int>, starts);
    const std::string plain = "Attack at dawn, then retreat; come back at nine!";
    std::vector<std::uint8_t> letters;
    for (const char c : primer) {
        letters.push_back(std::uint8_t(c - 'a'));
    }
    std::string cipher;
    AutokeyKey(letters).Encrypt(plain, cipher);
    auto text = std::make_shared<const CipherText>(cipher);
    const AutokeyMapping mapping(letters, text);
    // Each piece runs from its start to the next start in the text (or the end).
    for (qsizetype i = 0; i < starts.size(); ++i) {
        const auto start = std::size_t(starts[i]);
        std::size_t end = cipher.size();
        for (const int other : starts) {
            if (std::size_t(other) > start) {
                end = std::min(end, std::size_t(other));
            }
        }
        std::string piece;
        const std::size_t first = CountLetterBytes(std::string_view(cipher).substr(0, start));
        const std::size_t next =
            mapping.Map(std::string_view(cipher).substr(start, end - start), piece, first);
        QCOMPARE(piece, plain.substr(start, end - start));
        QCOMPARE(next, first + CountLetterBytes(piece));
    }
}

void TestLetterMapping::movedLettersGoOnAcrossPieces_data() {
    QTest::addColumn<int>("cut");
    QTest::addColumn<int>("made"); // letters the mapping makes, of the text's 90
    QTest::newRow("whole") << 1000 << 90;
    QTest::newRow("every byte a piece") << 1 << 90;
    QTest::newRow("pieces longer than a vector block") << 70 << 90;
    QTest::newRow("fewer letters made than the text has") << 33 << 70;
    QTest::newRow("none made") << 9 << 0;
}

void TestLetterMapping::movedLettersGoOnAcrossPieces() {
    QFETCH(int, cut);
    QFETCH(int, made);
    // The letters of the text backwards, each put in the case of the place it takes.
    const std::string cipher = "Quel ramo del lago di Como, che volge a mezzogiorno, tra due "
                               "catene NON interrotte di monti, tutto a seni e a golfi!";
    std::vector<std::uint8_t> letters;
    for (const char c : cipher) {
        if (std::isalpha(static_cast<unsigned char>(c))) {
            letters.insert(letters.begin(), std::uint8_t((c | 0x20) - 'a'));
        }
    }
    QCOMPARE(letters.size(), std::size_t(90));
    letters.resize(std::size_t(made));
    int calls = 0;
    const MovedLettersMapping mapping([&letters, &calls] {
        ++calls;
        return letters;
    });
    QCOMPARE(calls, 0); // nothing worked out before the text is mapped
    std::string expected = cipher;
    std::size_t n = 0;
    for (char& c : expected) {
        if (std::isalpha(static_cast<unsigned char>(c)) && n < letters.size()) {
            c = char((c & 0x20) | ('A' + letters[n++]));
        } else if (std::isalpha(static_cast<unsigned char>(c))) {
            ++n;
        }
    }
    std::string plain;
    std::string piece;
    std::size_t letter = 0;
    for (std::size_t at = 0; at < cipher.size(); at += std::size_t(cut)) {
        letter = mapping.Map(std::string_view(cipher).substr(at, std::size_t(cut)), piece, letter);
        plain += piece;
    }
    QCOMPARE(QByteArray::fromStdString(plain), QByteArray::fromStdString(expected));
    QCOMPARE(letter, std::size_t(90));
    QCOMPARE(calls, 1);
}

void TestLetterMapping::windows1252HasNoCharacterForFiveBytes_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<int>("character");
    QTest::newRow("euro") << 0x80 << 0x20AC;
    QTest::newRow("undefined 0x81") << 0x81 << 0xFFFD;
    QTest::newRow("undefined 0x8D") << 0x8D << 0xFFFD;
    QTest::newRow("undefined 0x8F") << 0x8F << 0xFFFD;
    QTest::newRow("undefined 0x90") << 0x90 << 0xFFFD;
    QTest::newRow("undefined 0x9D") << 0x9D << 0xFFFD;
    QTest::newRow("en dash") << 0x96 << 0x2013;
    QTest::newRow("Y with diaeresis, last of the range") << 0x9F << 0x0178;
    QTest::newRow("no-break space, as Latin-1") << 0xA0 << 0x00A0;
    QTest::newRow("a with grave") << 0xE0 << 0x00E0;
}

void TestLetterMapping::windows1252HasNoCharacterForFiveBytes() {
    QFETCH(int, byte);
    QFETCH(int, character);
    const std::u16string decoded = DecodeWindows1252(std::string(1, char(byte)));
    QCOMPARE(decoded.size(), std::size_t(1));
    QCOMPARE(int(decoded[0]), character);
}

void TestLetterMapping::incompleteUtf8Tail_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("tail");
    QTest::newRow("ASCII") << QByteArray("abc") << 0;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("a whole è") << QByteArray("perch\xc3\xa8") << 0;
    QTest::newRow("è cut after its lead") << QByteArray("perch\xc3") << 1;
    QTest::newRow("€ cut after two of three") << QByteArray("5\xe2\x82") << 2;
    QTest::newRow("€ cut after its lead") << QByteArray("5\xe2") << 1;
    QTest::newRow("a whole €") << QByteArray("5\xe2\x82\xac") << 0;
    // E0 leads three bytes like E2: a tail is judged by the lead's range, not one value of it.
    QTest::newRow("Devanagari ka cut after two of three") << QByteArray("a\xe0\xa4") << 2;
    QTest::newRow("a whole Devanagari ka") << QByteArray("a\xe0\xa4\x95") << 0;
    QTest::newRow("emoji cut after three of four") << QByteArray("a\xf0\x9f\x98") << 3;
    QTest::newRow("a whole emoji") << QByteArray("a\xf0\x9f\x98\x80") << 0;
    QTest::newRow("a stray continuation is no cut character") << QByteArray("a\x80") << 0;
}

void TestLetterMapping::incompleteUtf8Tail() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, tail);
    QCOMPARE(IncompleteUtf8Tail(bytes.toStdString()), std::size_t(tail));
}

QTEST_GUILESS_MAIN(TestLetterMapping)
#include "tst_letter_mapping.moc"
