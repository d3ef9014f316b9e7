#include "fake_services.h"
#include "picture_area.h"
#include "vgauge.h"

#include <QTest>

#include <stdexcept>

using namespace tallivo;

namespace {

const QColor kRed(255, 0, 0);

// The red rows of a picture, checked to stand in one block on the bottom edge.
int BarRows(const PictureArea& pic) {
    const QImage& image = pic.Drawing();
    int rows = 0;
    for (int y = image.height() - 1; y >= 0 && image.pixelColor(3, y) == kRed; --y) {
        ++rows;
    }
    for (int y = image.height() - 1 - rows; y >= 0; --y) {
        if (image.pixelColor(3, y) == kRed) {
            return -1; // red above the bar: not one block
        }
    }
    return rows;
}

// A letter's picture area: 11 by 181 pixels, 7 by 177 inside the border.
struct LetterPicture {
    LetterPicture() { pic.setGeometry(0, 0, 11, 181); }
    PictureArea pic;
};

} // namespace

class TestVGauge : public QObject {
    Q_OBJECT

private slots:
    void paint2FillsFromTheBottom_data();
    void paint2FillsFromTheBottom();
    void paintGrowsAndShrinksTheBar_data();
    void paintGrowsAndShrinksTheBar();
    void oneGaugeServesManyPictures();
    void aRangeOfZeroShowsTheMessageAndEndsTheProgram_data();
    void aRangeOfZeroShowsTheMessageAndEndsTheProgram();
    void arithmeticPast16BitsIsAnError();
};

void TestVGauge::paint2FillsFromTheBottom_data() {
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("rows");

    QTest::newRow("25 of 100: bottom quarter") << 100 << 0 << 25 << 44;
    QTest::newRow("0 leaves it clear") << 100 << 0 << 0 << 0;
    QTest::newRow("100 of 100: full") << 100 << 0 << 100 << 177;
    QTest::newRow("30 of 50: three fifths") << 50 << 0 << 30 << 106;
    QTest::newRow("12 of 12: full") << 12 << 0 << 12 << 177;
    QTest::newRow("above the range is clipped") << 12 << 0 << 88 << 177;
    QTest::newRow("11 of 12") << 12 << 0 << 11 << 162;
    QTest::newRow("min enters only the range") << 110 << 10 << 25 << 44;
}

void TestVGauge::paint2FillsFromTheBottom() {
    QFETCH(int, max);
    QFETCH(int, min);
    QFETCH(int, value);
    QFETCH(int, rows);
    FakeServices fakes;
    LetterPicture letter;
    VGauge gauge(fakes.messages);
    gauge.Max(max);
    gauge.Min(min);
    gauge.Setup(letter.pic);
    gauge.Paint2(std::int16_t(value), letter.pic, kRed);
    QCOMPARE(BarRows(letter.pic), rows);
    QCOMPARE(fakes.messages.endRequests, 0);
}

void TestVGauge::paintGrowsAndShrinksTheBar_data() {
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("rows");

    QTest::newRow("40") << QStringList{"Paint 40"} << 71;
    QTest::newRow("10 then 40 grows") << QStringList{"Paint 10", "Paint 40"} << 71;
    // The erased band includes its corner row, so the bar keeps one row less than a fresh 10.
    QTest::newRow("40 then 10 shrinks") << QStringList{"Paint 40", "Paint 10"} << 17;
    QTest::newRow("40 then 0 empties") << QStringList{"Paint 40", "Paint 0"} << 0;
    QTest::newRow("40 twice stays") << QStringList{"Paint 40", "Paint 40"} << 71;
    QTest::newRow("Paint2 clears what was there") << QStringList{"Paint2 90", "Paint2 25"} << 44;
}

void TestVGauge::paintGrowsAndShrinksTheBar() {
    QFETCH(QStringList, calls);
    QFETCH(int, rows);
    FakeServices fakes;
    LetterPicture letter;
    VGauge gauge(fakes.messages);
    gauge.Max(100);
    gauge.Min(0);
    gauge.Setup(letter.pic);
    for (const QString& call : calls) {
        const auto value = std::int16_t(call.section(QLatin1Char(' '), 1).toInt());
        if (call.startsWith(QLatin1String("Paint2 "))) {
            gauge.Paint2(value, letter.pic, kRed);
        } else {
            gauge.Paint(value, letter.pic, kRed);
        }
    }
    QCOMPARE(BarRows(letter.pic), rows);
}

void TestVGauge::oneGaugeServesManyPictures() {
    FakeServices fakes;
    LetterPicture first;
    LetterPicture second;
    VGauge gauge(fakes.messages);
    gauge.Max(50);
    gauge.Min(0);
    gauge.Setup(first.pic);
    gauge.Paint2(50, first.pic, kRed);
    gauge.Setup(second.pic);
    gauge.Paint2(30, second.pic, kRed);
    QCOMPARE(BarRows(first.pic), 177);
    QCOMPARE(BarRows(second.pic), 106);
}

void TestVGauge::aRangeOfZeroShowsTheMessageAndEndsTheProgram_data() {
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("min");
    QTest::addColumn<QString>("call");

    QTest::newRow("max equals min, Setup") << 5 << 5 << "Setup";
    QTest::newRow("properties never set, Setup") << 0 << 0 << "Setup";
    QTest::newRow("Paint before Setup") << 100 << 0 << "Paint";
    QTest::newRow("Paint2 before Setup") << 100 << 0 << "Paint2";
}

void TestVGauge::aRangeOfZeroShowsTheMessageAndEndsTheProgram() {
    QFETCH(int, max);
    QFETCH(int, min);
    QFETCH(QString, call);
    FakeServices fakes;
    LetterPicture letter;
    VGauge gauge(fakes.messages);
    gauge.Max(max);
    gauge.Min(min);
    if (call == QLatin1String("Setup")) {
        gauge.Setup(letter.pic);
    } else if (call == QLatin1String("Paint")) {
        gauge.Paint(50, letter.pic, kRed);
    } else {
        gauge.Paint2(50, letter.pic, kRed);
    }
    QCOMPARE(fakes.messages.texts,
             QStringList{QStringLiteral(
                 "VGauge Object needs to be .Setup and Max & Min properties need to be set...")});
    QCOMPARE(fakes.messages.titles, QStringList{QStringLiteral("VGauge Object")});
    QCOMPARE(fakes.messages.endRequests, 1);
    QCOMPARE(BarRows(letter.pic), 0);
}

void TestVGauge::arithmeticPast16BitsIsAnError() {
    FakeServices fakes;
    LetterPicture letter;
    VGauge wide(fakes.messages);
    wide.Max(40000);
    wide.Min(0);
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, wide.Setup(letter.pic));

    VGauge past32(fakes.messages);
    past32.Max(INT32_MAX);
    past32.Min(-1);
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, past32.Setup(letter.pic));

    VGauge deep(fakes.messages);
    deep.Max(30000);
    deep.Min(0);
    deep.Setup(letter.pic);
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, deep.Paint2(-5000, letter.pic, kRed));
    QCOMPARE(fakes.messages.endRequests, 0);
}

QTEST_MAIN(TestVGauge)
#include "tst_vgauge.moc"
