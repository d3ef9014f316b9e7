#include "letter_mapping.h"
#include "plain_text.h"

#include <QTest>

using namespace tallivo;

namespace {

ByteTable Identity() {
    ByteTable table{};
    for (int b = 0; b < 256; ++b) {
        table[std::size_t(b)] = static_cast<unsigned char>(b);
    }
    return table;
}

} // namespace

class TestPlainText : public QObject {
    Q_OBJECT

private slots:
    void aTextCutInsideACharacterStillReadsAsUtf8_data();
    void aTextCutInsideACharacterStillReadsAsUtf8();
    void piecesNeverSplitACharacter();
    void openLettersShowAsDotsAndWindows1252AsItself();
};

void TestPlainText::aTextCutInsideACharacterStillReadsAsUtf8_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QString>("shown");
    QTest::newRow("whole") << QByteArray("Perch\xc3\xa9") << false << true << "Perché";
    QTest::newRow("cut inside è") << QByteArray("Perch\xc3") << true << true << "Perch";
    QTest::newRow("cut inside €") << QByteArray("5 \xe2\x82") << true << true << "5 ";
    QTest::newRow("cut inside an emoji") << QByteArray("a\xf0\x9f\x98") << true << true << "a";
    QTest::newRow("not cut: a broken character is no UTF-8")
        << QByteArray("Perch\xc3") << false << false << "PerchÃ";
    QTest::newRow("Windows-1252 cut after a character")
        << QByteArray("Perch\xe8 citt\xe0") << true << false << "Perchè città";
}

void TestPlainText::aTextCutInsideACharacterStillReadsAsUtf8() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, cut);
    QFETCH(bool, utf8);
    QFETCH(QString, shown);
    const std::string text = bytes.toStdString();
    QCOMPARE(ReadsAsUtf8(text, cut), utf8);
    QCOMPARE(PlainTextOf(text, TableMapping(Identity()), {utf8, 1}), shown);
}

void TestPlainText::piecesNeverSplitACharacter() {
    // "è" straddles the first 1 MiB piece's end: it is read whole, once.
    std::string text((std::size_t{1} << 20) - 1, 'a');
    text += "\xc3\xa8zz";
    const QString plain = PlainTextOf(text, TableMapping(Identity()), {true, 1});
    QCOMPARE(plain.size(), qsizetype((std::size_t{1} << 20) - 1 + 3));
    QCOMPARE(plain.right(3), QStringLiteral("èzz"));
    std::stop_source stop;
    stop.request_stop();
    QVERIFY(PlainTextOf(text, TableMapping(Identity()), {true, 1}, stop.get_token()).isEmpty());
}

void TestPlainText::openLettersShowAsDotsAndWindows1252AsItself() {
    ByteTable table = Identity();
    table['b'] = 2; // b left open, as a key does
    table['B'] = 2;
    QCOMPARE(PlainTextOf("Bab \x80", TableMapping(table), {false, 2}), QStringLiteral("·a· €"));
}

QTEST_GUILESS_MAIN(TestPlainText)
#include "tst_plain_text.moc"
