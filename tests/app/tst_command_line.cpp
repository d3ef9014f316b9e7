#include "command_line.h"

#include <QTest>

using namespace tallivo;

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void plansTheStart_data();
    void plansTheStart();
    void onlyHelpAndVersionAreAnsweredWithoutADisplay_data();
    void onlyHelpAndVersionAreAnsweredWithoutADisplay();
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

void TestCommandLine::onlyHelpAndVersionAreAnsweredWithoutADisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("textOnly");
    QTest::newRow("version") << QStringList{"tallivo", "-v"} << true;
    QTest::newRow("help after Qt's option")
        << QStringList{"tallivo", "-platform", "xcb", "--help"} << true;
    QTest::newRow("a file") << QStringList{"tallivo", "x.txt"} << false;
    QTest::newRow("a file called --help after --")
        << QStringList{"tallivo", "--", "--help"} << false;
    QTest::newRow("the program's own name") << QStringList{"--help"} << false;
}

void TestCommandLine::onlyHelpAndVersionAreAnsweredWithoutADisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, textOnly);
    QCOMPARE(CommandLine::AsksForTextOnly(arguments), textOnly);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
