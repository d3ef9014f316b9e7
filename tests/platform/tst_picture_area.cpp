#include "app_fonts.h"
#include "picture_area.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QTest>

using namespace tallivo;

namespace {

// Rows of the inner area whose middle pixel has color.
int RowsOf(const QImage& image, const QColor& color) {
    int rows = 0;
    for (int y = 0; y < image.height(); ++y) {
        rows += image.pixelColor(image.width() / 2, y) == color ? 1 : 0;
    }
    return rows;
}

} // namespace

class TestPictureArea : public QObject {
    Q_OBJECT

private slots:
    void innerAreaLiesInsideTheBorder();
    void fillsBoxesInUserUnitsClippedToTheInnerArea_data();
    void fillsBoxesInUserUnitsClippedToTheInnerArea();
    void clearRestoresTheBackground();
    void drawingSurvivesHidingAndRepainting();
    void childrenAreDrawnOverTheDrawing();
    void focusShowsOnTheBorderOnly();
    void rowsLeaveTheLettersReadable();
};

void TestPictureArea::innerAreaLiesInsideTheBorder() {
    PictureArea pic;
    pic.setGeometry(0, 0, 11, 181);
    QCOMPARE(pic.Drawing().size(), QSize(7, 177));
    QCOMPARE(pic.InnerArea()->geometry(), QRect(2, 2, 7, 177));
}

void TestPictureArea::fillsBoxesInUserUnitsClippedToTheInnerArea_data() {
    QTest::addColumn<double>("scaleHeight");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("bottom");
    QTest::addColumn<int>("rows");

    // 177 rows; a box includes both of its corner rows.
    QTest::newRow("bottom quarter") << 100.0 << 75.0 << 100.0 << 44;
    QTest::newRow("whole height") << 100.0 << 0.0 << 100.0 << 177;
    QTest::newRow("past the top is clipped") << 12.0 << -8.0 << 12.0 << 177;
    QTest::newRow("one row at the very top") << 100.0 << 0.0 << 0.0 << 1;
    QTest::newRow("on the bottom edge: nothing") << 100.0 << 100.0 << 100.0 << 0;
    QTest::newRow("corners in either order") << 50.0 << 50.0 << 20.0 << 106;
}

void TestPictureArea::fillsBoxesInUserUnitsClippedToTheInnerArea() {
    QFETCH(double, scaleHeight);
    QFETCH(double, top);
    QFETCH(double, bottom);
    QFETCH(int, rows);
    PictureArea pic;
    pic.setGeometry(0, 0, 11, 181);
    pic.SetScale(1, scaleHeight);
    pic.FillBox(0, top, 1, bottom, Qt::red);
    QCOMPARE(RowsOf(pic.Drawing(), Qt::red), rows);
    // Every filled row is filled across the whole width.
    const QImage& drawing = pic.Drawing();
    for (int y = 0; y < drawing.height(); ++y) {
        const bool filled = drawing.pixelColor(3, y) == QColor(Qt::red);
        QCOMPARE(drawing.pixelColor(0, y) == QColor(Qt::red), filled);
        QCOMPARE(drawing.pixelColor(6, y) == QColor(Qt::red), filled);
    }
}

void TestPictureArea::clearRestoresTheBackground() {
    PictureArea pic;
    pic.setGeometry(0, 0, 11, 181);
    pic.SetScale(1, 10);
    pic.FillBox(0, 0, 1, 10, Qt::red);
    pic.Clear();
    QCOMPARE(RowsOf(pic.Drawing(), Qt::red), 0);
    QCOMPARE(RowsOf(pic.Drawing(), pic.BackColor()), 177);
}

void TestPictureArea::drawingSurvivesHidingAndRepainting() {
    QWidget window;
    window.resize(40, 200);
    auto* pic = new PictureArea(&window);
    pic->setGeometry(5, 5, 11, 181);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pic->SetScale(1, 100);
    pic->FillBox(0, 50, 1, 100, Qt::red);
    window.hide();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pic->repaint();
    const QImage shown = pic->grab().toImage();
    // Inner row 150 (widget row 152) is red, inner row 20 still the background.
    QCOMPARE(shown.pixelColor(5, 152), QColor(Qt::red));
    QCOMPARE(shown.pixelColor(5, 22), pic->BackColor());
}

void TestPictureArea::childrenAreDrawnOverTheDrawing() {
    QWidget window;
    auto* pic = new PictureArea(&window);
    pic->setGeometry(0, 0, 11, 181);
    auto* label = new QLabel(pic->InnerArea());
    label->setGeometry(0, 0, 7, 10);
    label->setAutoFillBackground(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, Qt::blue);
    label->setPalette(colours);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pic->SetScale(1, 1);
    pic->FillBox(0, 0, 1, 1, Qt::red);
    const QImage shown = pic->grab().toImage();
    QCOMPARE(shown.pixelColor(4, 4), QColor(Qt::blue));
    QCOMPARE(shown.pixelColor(4, 100), QColor(Qt::red));
}

void TestPictureArea::focusShowsOnTheBorderOnly() {
    QWidget window;
    auto* pic = new PictureArea(&window);
    pic->setGeometry(0, 0, 11, 181);
    pic->setFocusPolicy(Qt::StrongFocus);
    auto* other = new QWidget(&window);
    other->setFocusPolicy(Qt::StrongFocus);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pic->SetScale(1, 100);
    pic->FillBox(0, 60, 1, 100, QColor(255, 0, 0));
    other->setFocus();
    const QImage unfocused = pic->grab().toImage();
    pic->setFocus();
    QTRY_VERIFY(pic->hasFocus());
    const QImage focused = pic->grab().toImage();
    const QRect inner(2, 2, 7, 177);
    QCOMPARE(focused.copy(inner), unfocused.copy(inner));
    QVERIFY(focused.copy(0, 0, 11, 2) != unfocused.copy(0, 0, 11, 2));
}

void TestPictureArea::rowsLeaveTheLettersReadable() {
    // A picture as the main window's, with its letter at the foot in the main window's font
    // (named, so the glyph does not depend on what the machine's sans-serif is): the inner
    // area is 7 by 177.
    QVERIFY2(QFontDatabase::hasFamily(UiFontFamily()),
             qPrintable(UiFontFamily() + QStringLiteral(" is not installed (fonts-liberation; "
                                                        "scripts/test installs it)")));
    QWidget window;
    auto* pic = new PictureArea(&window);
    pic->setGeometry(0, 0, 11, 181);
    auto* label = new QLabel(QStringLiteral("i"), pic->InnerArea());
    label->setFont(UiFont(8.0));
    QCOMPARE(QFontInfo(label->font()).family(), UiFontFamily());
    label->setGeometry(-2, 164, 11, 15);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    pic->SetScale(1, 177);

    // Above the letter, a whole row; through the letter, only beside its glyph.
    pic->DrawRow(100, Qt::black);
    const QImage& drawing = pic->Drawing();
    for (int x = 0; x < 7; ++x) {
        QCOMPARE(drawing.pixelColor(x, 100), QColor(Qt::black));
    }
    const QFontMetrics metrics(label->font());
    const int middle = 164 + metrics.ascent() + metrics.tightBoundingRect("i").center().y();
    pic->DrawRow(middle, Qt::black);
    QCOMPARE(drawing.pixelColor(3, middle), pic->BackColor()); // the stem of the i
    QCOMPARE(drawing.pixelColor(0, middle), QColor(Qt::black));
    QCOMPARE(drawing.pixelColor(6, middle), QColor(Qt::black));
}

QTEST_MAIN(TestPictureArea)
#include "tst_picture_area.moc"
