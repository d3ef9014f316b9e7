#include "letter_mapping.h"
#include "text_decoding.h"

#include <QTest>

using namespace tallivo;

class TestLetterMapping : public QObject {
    Q_OBJECT

private slots:
    void aPeriodicKeyGoesOnAcrossPieces_data();
    void aPeriodicKeyGoesOnAcrossPieces();
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
