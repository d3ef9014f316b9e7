#include "fault_guard.h"

#include <QProcess>
#include <QTest>

#include <csignal>

// What the guard does with the faults it does not cover is watched in another process,
// fault_child, which reads past the end of a file cut while mapped and should die of it.
class TestFaultGuard : public QObject {
    Q_OBJECT

private slots:
    void anyOtherFaultStillEndsTheProcess_data();
    void anyOtherFaultStillEndsTheProcess();
};

void TestFaultGuard::anyOtherFaultStillEndsTheProcess_data() {
    QTest::addColumn<QString>("guard");   // the read past the cut: in a guard over another range
    QTest::addColumn<QString>("handler"); // "own": the program has a SIGBUS handler of its own
    QTest::addColumn<int>("exitCode");    // of the program's handler; -1: ended by the signal

    QTest::newRow("no guard, no handler") << "unguarded"
                                          << "none" << -1;
    QTest::newRow("a guard over other pages, no handler") << "guarded"
                                                          << "none" << -1;
    QTest::newRow("no guard, the program's handler") << "unguarded"
                                                     << "own" << 3;
    QTest::newRow("a guard over other pages, the program's handler") << "guarded"
                                                                     << "own" << 3;
}

void TestFaultGuard::anyOtherFaultStillEndsTheProcess() {
    QFETCH(QString, guard);
    QFETCH(QString, handler);
    QFETCH(int, exitCode);
    QProcess child;
    child.start(QStringLiteral(TALLIVO_FAULT_CHILD), {guard, handler});
    QVERIFY(child.waitForFinished(30000));
    if (exitCode >= 0) {
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), exitCode);
    } else if (child.exitStatus() == QProcess::CrashExit) {
        QCOMPARE(child.exitCode(), SIGBUS); // the signal that ended it
    } else {
        // A sanitizer's own handler reports the fault and exits with an error.
        QVERIFY2(child.exitCode() != 0 && child.exitCode() != 2, "the fault was swallowed");
    }
}

QTEST_GUILESS_MAIN(TestFaultGuard)
#include "tst_fault_guard.moc"
