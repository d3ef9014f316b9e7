#include "command_line.h"

#include <QTest>

using namespace tallivo;

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void plansTheStart_data();
    void plansTheStart();
    void toolkitOptionsAreLeftToTheToolkit_data();
    void toolkitOptionsAreLeftToTheToolkit();
};

void TestCommandLine::plansTheStart_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("run");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("errors"); // the first line

    const QString usage = QStringLiteral("Uso: tallivo [opzioni] [file]");
    QTest::newRow("nothing") << QStringList{"tallivo"} << true << 0 << ""
                             << ""
                             << "";
    QTest::newRow("one file") << QStringList{"tallivo", "/tmp/a b.txt"} << true << 0
                              << "/tmp/a b.txt"
                              << ""
                              << "";
    QTest::newRow("three files: the first")
        << QStringList{"tallivo", "uno.txt", "due.txt", "tre.txt"} << true << 0 << "uno.txt"
        << ""
        << "tallivo: si analizza solo il primo file; gli altri 2 sono ignorati.";
    QTest::newRow("two files")
        << QStringList{"tallivo", "uno.txt", "due.txt"} << true << 0 << "uno.txt"
        << "" << QStringLiteral("tallivo: si analizza solo il primo file; l'altro è ignorato.");
    QTest::newRow("a file after --")
        << QStringList{"tallivo", "--", "-strano.txt"} << true << 0 << "-strano.txt"
        << ""
        << "";
    QTest::newRow("help") << QStringList{"tallivo", "--help", "x.txt"} << false << 0 << "" << usage
                          << "";
    QTest::newRow("-h") << QStringList{"tallivo", "-h"} << false << 0 << "" << usage << "";
    QTest::newRow("version") << QStringList{"tallivo", "--version"} << false << 0 << ""
                             << "Tallivo 9.8"
                             << "";
    QTest::newRow("unknown long option")
        << QStringList{"tallivo", "--colore=rosso", "x.txt"} << false << 2 << ""
        << ""
        << "tallivo: opzione sconosciuta: --colore";
    QTest::newRow("unknown short option") << QStringList{"tallivo", "-q"} << false << 2 << ""
                                          << ""
                                          << "tallivo: opzione sconosciuta: -q";
    QTest::newRow("a value for --help") << QStringList{"tallivo", "--help=foo"} << false << 2 << ""
                                        << ""
                                        << "tallivo: l'opzione --help non prende un valore";
}

void TestCommandLine::plansTheStart() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, run);
    QFETCH(int, exitCode);
    QFETCH(QString, fileName);
    QFETCH(QString, output);
    QFETCH(QString, errors);
    const StartPlan plan = CommandLine(QStringLiteral("9.8")).Plan(arguments);
    QCOMPARE(plan.run, run);
    QCOMPARE(plan.exitCode, exitCode);
    QCOMPARE(plan.fileName, fileName);
    QCOMPARE(plan.output.section(QLatin1Char('\n'), 0, 0), output);
    QCOMPARE(plan.errors.section(QLatin1Char('\n'), 0, 0), errors);
    if (exitCode == 2) {
        QVERIFY(plan.errors.contains(QStringLiteral("Uso: tallivo")));
    }
}

void TestCommandLine::toolkitOptionsAreLeftToTheToolkit_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QList<int>>("own");
    QTest::addColumn<int>("fileIndex"); // in the whole arguments, -1 for none
    QTest::newRow("none") << QStringList{"tallivo"} << QList<int>{0} << -1;
    QTest::newRow("platform and its value")
        << QStringList{"tallivo", "-platform", "xcb", "x.txt"} << QList<int>{0, 3} << 3;
    QTest::newRow("--style=fusion, -reverse")
        << QStringList{"tallivo", "--style=fusion", "-reverse", "--bogus"} << QList<int>{0, 3}
        << -1;
    QTest::newRow("after --, a file called -platform")
        << QStringList{"tallivo", "--", "-platform"} << QList<int>{0, 1, 2} << 2;
    QTest::newRow("a file named like its value")
        << QStringList{"tallivo", "-style", "x.txt", "x.txt"} << QList<int>{0, 3} << 3;
}

void TestCommandLine::toolkitOptionsAreLeftToTheToolkit() {
    QFETCH(QStringList, arguments);
    QFETCH(QList<int>, own);
    QFETCH(int, fileIndex);
    const QList<int> kept = CommandLine::OwnArguments(arguments);
    QCOMPARE(kept, own);
    QStringList ownArguments;
    for (const int i : kept) {
        ownArguments << arguments[i];
    }
    const StartPlan plan = CommandLine(QStringLiteral("1")).Plan(ownArguments);
    QCOMPARE(plan.fileIndex < 0 ? -1 : kept[plan.fileIndex], fileIndex);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
