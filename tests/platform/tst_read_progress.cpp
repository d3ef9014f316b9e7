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
    progress.Begin(&parent, QStringLiteral("/tmp/quick.txt"));
    QVERIFY(progress.Advance(1 << 20));
    QCOMPARE(parent.findChild<QProgressDialog*>(), nullptr);
    progress.End();
}

void TestReadProgress::longReadShowsAWindowThatStopsIt_data() {
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("Annulla") << false;
    QTest::newRow("Escape") << true;
}

void TestReadProgress::longReadShowsAWindowThatStopsIt() {
    QFETCH(bool, byEscape);
    QWidget parent;
    parent.show();
    QtReadProgress progress(0);
    progress.Begin(&parent, QStringLiteral("/tmp/long.txt"));
    QVERIFY(progress.Advance(1234567));
    auto* window = parent.findChild<QProgressDialog*>(QStringLiteral("progressWindow"));
    QVERIFY(window != nullptr && window->isVisible() && window->isModal());
    QVERIFY(window->labelText().contains(QStringLiteral("/tmp/long.txt")));
    QVERIFY(window->labelText().contains(QLocale().toString(1234567)));
    auto* cancel = window->findChild<QPushButton*>();
    QCOMPARE(cancel->text(), QStringLiteral("Annulla"));
    if (byEscape) {
        QTest::keyClick(window, Qt::Key_Escape);
    } else {
        QTest::mouseClick(cancel, Qt::LeftButton);
    }
    QVERIFY(!progress.Advance(2345678));
    progress.End();
    QCOMPARE(parent.findChild<QProgressDialog*>(), nullptr);
}

QTEST_MAIN(TestReadProgress)
#include "tst_read_progress.moc"
