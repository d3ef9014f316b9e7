#include "window_centring.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <stdexcept>

using namespace tallivo;

class TestWindowCentring : public QObject {
    Q_OBJECT

private slots:
    void roundsHalvesToEvenThenHalvesTowardZero_data();
    void roundsHalvesToEvenThenHalvesTowardZero();
    void refusesADifferencePast32Bits();
    void centresAWindowOnItsScreen();
};

void TestWindowCentring::roundsHalvesToEvenThenHalvesTowardZero_data() {
    QTest::addColumn<double>("screen");
    QTest::addColumn<double>("window");
    QTest::addColumn<int>("origin");

    QTest::newRow("15 wider gives 7") << 1024.0 << 1009.0 << 7;
    QTest::newRow("-5 gives -2") << 100.0 << 105.0 << -2;
    QTest::newRow("2.5 rounds to 2, gives 1") << 100.0 << 97.5 << 1;
    QTest::newRow("3.5 rounds to 4, gives 2") << 100.0 << 96.5 << 2;
    QTest::newRow("-2.5 rounds to -2, gives -1") << 100.0 << 102.5 << -1;
    QTest::newRow("main window on 1280") << 1280.0 << 412.0 << 434;
    QTest::newRow("same size") << 800.0 << 800.0 << 0;
    QTest::newRow("twips: 19200 - 6270") << 19200.0 << 6270.0 << 6465;
}

void TestWindowCentring::roundsHalvesToEvenThenHalvesTowardZero() {
    QFETCH(double, screen);
    QFETCH(double, window);
    QFETCH(int, origin);
    QCOMPARE(CentredOrigin(screen, window), origin);
}

void TestWindowCentring::refusesADifferencePast32Bits() {
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, CentredOrigin(3.0e9, 0.0));
    QVERIFY_THROWS_EXCEPTION(std::overflow_error, CentredOrigin(0.0, 3.0e9));
}

void TestWindowCentring::centresAWindowOnItsScreen() {
    QWidget window;
    window.setFixedSize(300, 201);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    CentreOnScreen(&window);
    const QRect screen = window.screen()->geometry();
    const QRect outer = window.frameGeometry();
    QCOMPARE(outer.left() - screen.left(), CentredOrigin(screen.width(), outer.width()));
    QCOMPARE(outer.top() - screen.top(), CentredOrigin(screen.height(), outer.height()));
    QCOMPARE(window.size(), QSize(300, 201));
}

QTEST_MAIN(TestWindowCentring)
#include "tst_window_centring.moc"
