#include "read_progress.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

using namespace tallivo;

class TestReadProgress : public QObject {
    Q_OBJECT

private slots:
    void quickReadShowsNothing();
    void longReadShowsAWindowThatStopsIt_data();
    void longReadShowsAWindowThatStopsIt();
};

void TestReadProgress::quickReadShowsNothing() {
    QWidget parent;
    QtReadProgress progress(60000);
    int stops = 0;
    progress.Begin(&parent, QStringLiteral("/tmp/quick.txt"), [&stops] { ++stops; });
    progress.Advance(1 << 20);
    QCOMPARE(parent.findChild<QProgressDialog*>(), nullptr);
    progress.End();
    QCOMPARE(stops, 0);
}

void TestReadProgress::longReadShowsAWindowThatStopsIt_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("Annulla") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("close box") << 2;
}

void TestReadProgress::longReadShowsAWindowThatStopsIt() {
    QFETCH(int, how);
    QWidget parent;
    parent.show();
    QtReadProgress progress(0);
    int stops = 0;
    progress.Begin(&parent, QStringLiteral("/tmp/long.txt"), [&stops] { ++stops; });
    progress.Advance(1234567);
    auto* window = parent.findChild<QProgressDialog*>(QStringLiteral("progressWindow"));
    QVERIFY(window != nullptr && window->isVisible());
    // Modal over the window the read was started from, and over it alone.
    QCOMPARE(window->windowModality(), Qt::WindowModal);
    QCOMPARE(QGuiApplication::modalWindow(), window->windowHandle());
    QVERIFY(window->labelText().contains(QStringLiteral("/tmp/long.txt")));
    QVERIFY(window->labelText().contains(QLocale().toString(1234567)));
    auto* cancel = window->findChild<QPushButton*>();
    QCOMPARE(cancel->text(), QStringLiteral("Annulla"));
    switch (how) {
    case 0:
        QTest::mouseClick(cancel, Qt::LeftButton);
        break;
    case 1:
        QTest::keyClick(window, Qt::Key_Escape);
        break;
    default:
        window->close();
    }
    QVERIFY(stops >= 1);
    progress.End();
    QTRY_COMPARE(parent.findChild<QProgressDialog*>(), nullptr);
}

QTEST_MAIN(TestReadProgress)
#include "tst_read_progress.moc"
