#include "command_line.h"

#include <QProcessEnvironment>
#include <QTest>

using namespace tallivo;

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void plansTheStart_data();
    void plansTheStart();
    void toolkitOptionsAreLeftToTheToolkit_data();
    void toolkitOptionsAreLeftToTheToolkit();
    void aStartWithoutADisplayEndsWithAMessage_data();
    void aStartWithoutADisplayEndsWithAMessage();
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
        << "tallivo: si analizza solo il primo file; gli altri 2 sono ignorati";
    QTest::newRow("two files")
        << QStringList{"tallivo", "uno.txt", "due.txt"} << true << 0 << "uno.txt"
        << "" << QStringLiteral("tallivo: si analizza solo il primo file; l'altro è ignorato");
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

void TestCommandLine::aStartWithoutADisplayEndsWithAMessage_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment"); // NAME=value, nothing else is set
    QTest::addColumn<QString>("errors");          // empty where the window may start

    const QString none = QStringLiteral("tallivo: nessuno schermo disponibile per la finestra: né "
                                        "DISPLAY né WAYLAND_DISPLAY è impostata\n");
    const QString named = QStringLiteral("tallivo: nessuno schermo disponibile per la finestra: la "
                                         "piattaforma %1 richiede %2, che non è impostata\n");
    const QStringList file{"tallivo", "x.txt"};
    QTest::newRow("nothing set") << file << QStringList{} << none;
    QTest::newRow("set but empty") << file << QStringList{"DISPLAY=", "WAYLAND_DISPLAY="} << none;
    QTest::newRow("X11") << file << QStringList{"DISPLAY=:0"} << "";
    QTest::newRow("Wayland") << file << QStringList{"WAYLAND_DISPLAY=wayland-0"} << "";
    QTest::newRow("offscreen needs no display")
        << file << QStringList{"QT_QPA_PLATFORM=offscreen"} << "";
    QTest::newRow("xcb named, only Wayland there")
        << file << QStringList{"QT_QPA_PLATFORM=xcb", "WAYLAND_DISPLAY=wayland-0"}
        << named.arg("xcb", "DISPLAY");
    QTest::newRow("xcb with its own options") << file << QStringList{"QT_QPA_PLATFORM=xcb:nomitshm"}
                                              << named.arg("xcb:nomitshm", "DISPLAY");
    QTest::newRow("wayland-egl with Wayland")
        << file << QStringList{"QT_QPA_PLATFORM=wayland-egl", "WAYLAND_DISPLAY=w"} << "";
    QTest::newRow("wayland, then xcb that is there")
        << file << QStringList{"QT_QPA_PLATFORM=wayland;xcb", "DISPLAY=:1"} << "";
    QTest::newRow("wayland, then xcb, neither there")
        << file << QStringList{"QT_QPA_PLATFORM=wayland;xcb"}
        << named.arg("wayland;xcb", "WAYLAND_DISPLAY o DISPLAY");
    QTest::newRow("-platform offscreen")
        << QStringList{"tallivo", "-platform", "offscreen", "x.txt"} << QStringList{} << "";
    QTest::newRow("--platform=offscreen")
        << QStringList{"tallivo", "--platform=offscreen"} << QStringList{} << "";
    QTest::newRow("-platform xcb over QT_QPA_PLATFORM")
        << QStringList{"tallivo", "-platform", "xcb"} << QStringList{"QT_QPA_PLATFORM=offscreen"}
        << named.arg("xcb", "DISPLAY");
    QTest::newRow("-display stands for DISPLAY")
        << QStringList{"tallivo", "-display", ":1"} << QStringList{"QT_QPA_PLATFORM=xcb"} << "";
    QTest::newRow("after --, a file called -platform")
        << QStringList{"tallivo", "--", "-platform", "offscreen"} << QStringList{} << none;
}

void TestCommandLine::aStartWithoutADisplayEndsWithAMessage() {
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(QString, errors);
    QProcessEnvironment given;
    for (const QString& variable : environment) {
        given.insert(variable.section(QLatin1Char('='), 0, 0),
                     variable.section(QLatin1Char('='), 1));
    }
    const StartPlan plan = CommandLine::DisplayCheck(arguments, given);
    QCOMPARE(plan.errors, errors);
    QCOMPARE(plan.run, errors.isEmpty());
    QCOMPARE(plan.exitCode, errors.isEmpty() ? 0 : 1);
    QVERIFY(plan.output.isEmpty());
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_command_line.moc"
