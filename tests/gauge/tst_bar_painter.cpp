#include "bar_painter.h"
#include "message_service.h"
#include "picture_image.h"

#include <QTest>

using namespace tallivo;

namespace {

class NoMessages : public MessageService {
public:
    void ShowMessage(QWidget*, const QString&, const QString&) override {}
    void EndProgram() override {}
};

const QColor kPaper(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kBlack(0, 0, 0);

// Rows of a one-pixel-wide picture in colour, from the top.
QList<int> Rows(const PictureImage& picture, const QColor& colour) {
    QList<int> rows;
    for (int y = 0; y < picture.Image().height(); ++y) {
        if (picture.Image().pixelColor(0, y) == colour) {
            rows << y;
        }
    }
    return rows;
}

} // namespace

class TestBarPainter : public QObject {
    Q_OBJECT

private slots:
    void fittingScaleIsTheMostMagnifyingThatHolds_data();
    void fittingScaleIsTheMostMagnifyingThatHolds();
    void barsAndMarkersFollowOneRule_data();
    void barsAndMarkersFollowOneRule();
    void markersStayVisibleOnADarkPicture();
};

void TestBarPainter::fittingScaleIsTheMostMagnifyingThatHolds_data() {
    QTest::addColumn<double>("tallest");
    QTest::addColumn<int>("gaugeMax");
    QTest::newRow("nothing") << 0.0 << 12;
    QTest::newRow("exactly x 8") << 12.0 << 12;
    QTest::newRow("just past x 8") << 12.01 << 14;
    QTest::newRow("Italian e marker") << 11.79 << 12;
    QTest::newRow("between x 4 and x 3") << 25.5 << 33;
    QTest::newRow("exactly x 2") << 50.0 << 50;
    QTest::newRow("all of it") << 100.0 << 100;
    QTest::newRow("past the top: the widest scale") << 140.0 << 100;
}

void TestBarPainter::fittingScaleIsTheMostMagnifyingThatHolds() {
    QFETCH(double, tallest);
    QFETCH(int, gaugeMax);
    QCOMPARE(int(BarPainter::FittingGaugeMax(tallest)), gaugeMax);
}

void TestBarPainter::barsAndMarkersFollowOneRule_data() {
    QTest::addColumn<int>("gaugeMax");
    QTest::addColumn<float>("percent");
    QTest::addColumn<double>("expected"); // 0: no reference
    QTest::addColumn<int>("barRows");     // of 100
    QTest::addColumn<int>("markerRow");   // -1: none
    // A picture 100 pixels high: one pixel per percent at x 1, a bar rounds halves to even.
    QTest::newRow("12.5 rounds to 12") << 100 << 12.5F << 0.0 << 12 << -1;
    QTest::newRow("13.5 rounds to 14") << 100 << 13.5F << 0.0 << 14 << -1;
    QTest::newRow("marker at the reference") << 100 << 10.0F << 30.0 << 10 << 70;
    QTest::newRow("marker exactly at the top") << 50 << 10.0F << 50.0 << 20 << 0;
    QTest::newRow("no marker above the top") << 12 << 10.0F << 12.7 << 83 << -1;
    QTest::newRow("no marker for a letter the language lacks") << 100 << 1.0F << 0.0 << 1 << -1;
    QTest::newRow("a bar past the top fills the picture") << 12 << 75.0F << 0.0 << 100 << -1;
}

void TestBarPainter::barsAndMarkersFollowOneRule() {
    QFETCH(int, gaugeMax);
    QFETCH(float, percent);
    QFETCH(double, expected);
    QFETCH(int, barRows);
    QFETCH(int, markerRow);
    NoMessages messages;
    std::optional<ReferenceTable> markers;
    if (expected > 0.0) {
        markers = ReferenceTable{};
        (*markers)[4] = expected;
    }
    BarPainter painter(messages, std::int16_t(gaugeMax), markers, kRed);
    PictureImage picture(QSize(1, 100), 1.0, kPaper);
    painter.Prepare(picture);
    painter.Paint(4, percent, picture);
    QCOMPARE(int(Rows(picture, kRed).size()), barRows);
    QCOMPARE(Rows(picture, kBlack), markerRow < 0 ? QList<int>{} : QList<int>{markerRow});
    // Another letter of the same painter has no marker: the table gives it nothing.
    painter.Paint(5, percent, picture);
    QVERIFY(Rows(picture, kBlack).isEmpty());
}

void TestBarPainter::markersStayVisibleOnADarkPicture() {
    NoMessages messages;
    ReferenceTable markers{};
    markers[0] = 50.0;
    BarPainter painter(messages, 100, markers, kRed);
    PictureImage dark(QSize(1, 100), 1.0, QColor(40, 40, 40));
    painter.Prepare(dark);
    painter.Paint(0, 10.0F, dark);
    QCOMPARE(Rows(dark, QColor(255, 255, 255)), QList<int>{50});
    QVERIFY(Rows(dark, kBlack).isEmpty());
}

QTEST_MAIN(TestBarPainter)
#include "tst_bar_painter.moc"
