#include "app_fonts.h"
#include "fake_services.h"
#include "fmain.h"
#include "picture_area.h"
#include "report_lines.h"
#include "temp_files.h"
#include "text_source.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QLocale>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <unistd.h>

using namespace tallivo;

namespace {

const QColor kRed(255, 0, 0);

// Red rows at the foot of a picture: the height of its bar in pixels (177 is full).
int BarRows(const PictureArea* pic) {
    const QImage& image = pic->Drawing();
    int rows = 0;
    for (int y = image.height() - 1; y >= 0 && image.pixelColor(3, y) == kRed; --y) {
        ++rows;
    }
    return rows;
}

} // namespace

class TestFMainAnalysis : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void aaabGivesTheReportAndTwoBars();
    void scaleMagnifiesTheBars_data();
    void scaleMagnifiesTheBars();
    void optionBeforeAnyAnalysisOnlyChoosesTheRange();
    void cancelledDialogChangesNothing_data();
    void cancelledDialogChangesNothing();
    void failedAnalysisKeepsTheLastOne_data();
    void failedAnalysisKeepsTheLastOne();
    void fileWithNoLettersClearsTheBars();
    void stoppedCountChangesNothing();
    void rescaleGoesOnPastAbsentLetters();
    void barsShowTheirNumbersOnHover_data();
    void barsShowTheirNumbersOnHover();
    void anotherAnalysisWaitsForTheCountUnderWay();
    void closingTheWindowStopsTheCount();
    void aFileCutWhileCountedIsAReadError();

private:
    PictureArea* Pic(int i) const {
        return window_->findChild<PictureArea*>(QStringLiteral("picLett%1").arg(i));
    }
    QStringList Lines() const;
    void Analyse(const QString& path);
    // Starts counting a sparse file too large to finish soon; returns once the count runs.
    void StartEndlessCount();
    void ClickOption(int k);

    TempFiles files_;
    FakeServices* fakes_ = nullptr;
    FMain* window_ = nullptr;
};

void TestFMainAnalysis::initTestCase() {
    InstallUiFont();
}

void TestFMainAnalysis::init() {
    fakes_ = new FakeServices;
    window_ = new FMain(fakes_->services, fakes_->counter, fakes_->model);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void TestFMainAnalysis::cleanup() {
    QLocale::setDefault(QLocale::c());
    delete window_;
    delete fakes_;
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

QStringList TestFMainAnalysis::Lines() const {
    return ReportListLines(window_);
}

void TestFMainAnalysis::Analyse(const QString& path) {
    fakes_->dialog.names.enqueue(path);
    fakes_->AndWait([this] {
        QTest::mouseClick(window_->findChild<QWidget*>(QStringLiteral("cmdBrowse")),
                          Qt::LeftButton);
    });
}

void TestFMainAnalysis::StartEndlessCount() {
    const QString path = files_.Path(QStringLiteral("sparse"));
    QFile sparse(path);
    QVERIFY(sparse.open(QIODevice::WriteOnly));
    QVERIFY(sparse.resize(qint64(1) << 40)); // a terabyte of holes: no disk, minutes to read
    sparse.close();
    fakes_->dialog.names.enqueue(path);
    window_->cmdBrowse_Click();
    QVERIFY(fakes_->counter.IsBusy());
}

void TestFMainAnalysis::ClickOption(int k) {
    auto* option = window_->findChild<QRadioButton*>(QStringLiteral("opt%1").arg(k));
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(6, option->height() / 2));
    QVERIFY(option->isChecked());
}

void TestFMainAnalysis::aaabGivesTheReportAndTwoBars() {
    Analyse(files_.Write(QStringLiteral("aaab"), "aaab"));
    QCOMPARE(fakes_->dialog.shown, 1);
    QCOMPARE(Lines(), AaabReport());
    QCOMPARE(BarRows(Pic(0)), 133); // 75 of 100
    QCOMPARE(BarRows(Pic(1)), 44);  // 25 of 100
    for (int i = 2; i < 26; ++i) {
        QCOMPARE(BarRows(Pic(i)), 0);
    }
    QCOMPARE(window_->totalLetters(), 4);
    QVERIFY(fakes_->messages.texts.isEmpty());
}

void TestFMainAnalysis::scaleMagnifiesTheBars_data() {
    QTest::addColumn<int>("option");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("aRows");
    QTest::addColumn<int>("bRows");
    QTest::addColumn<int>("aRowsAtX1");

    // a 30 %: under "x 2" the bar is 30 of 50, three fifths of 177 rows.
    QTest::newRow("x 2, 30 %") << 1 << QByteArray("aaabbbbbbb") << 106 << 177 << 53;
    // a 12 %: 12 of 12 under "x 8" fills the picture, and so does b's 88.
    QTest::newRow("x 8, 12 %") << 7 << (QByteArray(12, 'a') + QByteArray(88, 'b')) << 177 << 177
                               << 21;
    QTest::newRow("x 8, 11 %") << 7 << (QByteArray(11, 'a') + QByteArray(89, 'b')) << 162 << 177
                               << 19;
    QTest::newRow("x 4, 25 %") << 3 << QByteArray("abbb") << 177 << 177 << 44;
    QTest::newRow("x 1, 30 %") << 0 << QByteArray("aaabbbbbbb") << 53 << 124 << 53;
}

void TestFMainAnalysis::scaleMagnifiesTheBars() {
    QFETCH(int, option);
    QFETCH(QByteArray, text);
    QFETCH(int, aRows);
    QFETCH(int, bRows);
    QFETCH(int, aRowsAtX1);
    const QString path = files_.Write(QStringLiteral("scaled"), text);

    // Chosen after the analysis: the bars are redrawn, the list stays as it is.
    Analyse(path);
    const QStringList report = Lines();
    ClickOption(option);
    QCOMPARE(window_->scaleIndex(), std::int16_t(option));
    QCOMPARE(BarRows(Pic(0)), aRows);
    QCOMPARE(BarRows(Pic(1)), bRows);
    QCOMPARE(Lines(), report);

    // The next analysis draws at the chosen scale too.
    Analyse(path);
    QCOMPARE(BarRows(Pic(0)), aRows);
    QCOMPARE(BarRows(Pic(1)), bRows);

    // Back to "x 1".
    ClickOption(0);
    QCOMPARE(window_->scaleIndex(), std::int16_t(0));
    QCOMPARE(Lines(), report);
    QCOMPARE(BarRows(Pic(0)), aRowsAtX1);
}

void TestFMainAnalysis::optionBeforeAnyAnalysisOnlyChoosesTheRange() {
    ClickOption(1);
    QCOMPARE(window_->scaleIndex(), std::int16_t(1));
    for (int i = 0; i < 26; ++i) {
        QCOMPARE(BarRows(Pic(i)), 0);
    }
    QVERIFY(Lines().isEmpty());
    Analyse(files_.Write(QStringLiteral("thirty"), "aaabbbbbbb"));
    QCOMPARE(BarRows(Pic(0)), 106);
}

void TestFMainAnalysis::cancelledDialogChangesNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("empty name") << QString();
    QTest::newRow("spaces only") << QStringLiteral("   ");
}

void TestFMainAnalysis::cancelledDialogChangesNothing() {
    QFETCH(QString, name);
    Analyse(files_.Write(QStringLiteral("aaab"), "aaab"));
    Analyse(name);
    QCOMPARE(fakes_->dialog.shown, 2);
    QCOMPARE(Lines(), AaabReport());
    QCOMPARE(window_->totalLetters(), 4);
    QCOMPARE(BarRows(Pic(0)), 133);
    QVERIFY(fakes_->messages.texts.isEmpty());
    // Bars and option keep agreeing: "x 2" still redraws the last analysis.
    ClickOption(1);
    QCOMPARE(BarRows(Pic(0)), 177);
    QCOMPARE(BarRows(Pic(1)), 88);
}

void TestFMainAnalysis::failedAnalysisKeepsTheLastOne_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing file") << files_.Path(QStringLiteral("gone.txt"))
                                  << "Impossibile aprire il file:\n%1\nIl file non esiste.";
    QTest::newRow("name too long")
        << files_.Path(QString(300, QLatin1Char('x')))
        << QStringLiteral("Impossibile aprire il file:\n%1\nIl nome del file è troppo lungo.");
    QTest::newRow("tab is not a cancel")
        << QStringLiteral("\t") << "Impossibile aprire il file:\n%1\nIl file non esiste.";
    QTest::newRow("folder") << QDir::tempPath()
                            << "Impossibile aprire il file:\n%1\nNon è un file normale.";
    QTest::newRow("device") << QStringLiteral("/dev/zero")
                            << "Impossibile aprire il file:\n%1\nNon è un file normale.";
    if (::geteuid() != 0) {
        const QString secret = files_.Write(QStringLiteral("secret"), "abc");
        QFile::setPermissions(secret, {});
        QTest::newRow("unreadable") << secret << "Impossibile aprire il file:\n%1\nAccesso negato.";
    }
}

void TestFMainAnalysis::failedAnalysisKeepsTheLastOne() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    Analyse(files_.Write(QStringLiteral("aaab"), "aaab"));
    Analyse(name);
    QCOMPARE(fakes_->messages.texts, QStringList{reason.arg(name)});
    QCOMPARE(fakes_->messages.titles, QStringList{QStringLiteral("Tallivo")});
    QCOMPARE(fakes_->messages.busyPointer, QList<bool>{false});
    QCOMPARE(Lines(), AaabReport());
    QCOMPARE(BarRows(Pic(0)), 133);
    QCOMPARE(window_->totalLetters(), 4);
    QCOMPARE(window_->letterCounts()[0], 3);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(fakes_->messages.endRequests, 0);
}

void TestFMainAnalysis::fileWithNoLettersClearsTheBars() {
    Analyse(files_.Write(QStringLiteral("aaab"), "aaab"));
    Analyse(files_.Write(QStringLiteral("digits"), "1234 !?\r\n"));
    QCOMPARE(Lines(), QStringList{QStringLiteral("Tot. caratteri= 0")});
    for (int i = 0; i < 26; ++i) {
        QCOMPARE(BarRows(Pic(i)), 0);
        QVERIFY(Pic(i)->toolTip().isEmpty());
    }
    QCOMPARE(fakes_->messages.texts,
             QStringList{QStringLiteral("Il file non contiene lettere dalla A alla Z.")});
    QCOMPARE(fakes_->messages.busyPointer, QList<bool>{false});
    QCOMPARE(window_->totalLetters(), 0);
    ClickOption(7);
    for (int i = 0; i < 26; ++i) {
        QCOMPARE(BarRows(Pic(i)), 0);
    }
    QCOMPARE(window_->scaleIndex(), std::int16_t(7));
}

void TestFMainAnalysis::stoppedCountChangesNothing() {
    Analyse(files_.Write(QStringLiteral("aaab"), "aaab"));
    const QImage bar = Pic(0)->Drawing();
    fakes_->progress.stopAtBegin = true;
    const QString stopped = files_.Write(QStringLiteral("stopped"), "zzzz");
    Analyse(stopped);
    QCOMPARE(fakes_->progress.watched.last(), QDir::toNativeSeparators(stopped));
    QCOMPARE(fakes_->progress.ended, 2);
    QCOMPARE(Lines(), AaabReport());
    QCOMPARE(Pic(0)->Drawing(), bar);
    QCOMPARE(window_->letterCounts()[25], 0);
    QVERIFY(fakes_->messages.texts.isEmpty());
}

void TestFMainAnalysis::rescaleGoesOnPastAbsentLetters() {
    // c to y are absent; z still follows the scale.
    Analyse(files_.Write(QStringLiteral("az"), "aaabz"));
    QCOMPARE(BarRows(Pic(25)), 35); // 20 of 100
    ClickOption(4);                 // range 20
    QCOMPARE(BarRows(Pic(25)), 177);
    QCOMPARE(BarRows(Pic(2)), 0);
}

void TestFMainAnalysis::barsShowTheirNumbersOnHover_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("line");
    QTest::newRow("C") << QLocale::c() << QStringLiteral("12.34");
    QTest::newRow("Italian") << QLocale(QLocale::Italian, QLocale::Italy)
                             << QStringLiteral("12,34");
}

void TestFMainAnalysis::barsShowTheirNumbersOnHover() {
    QFETCH(QLocale, locale);
    QFETCH(QString, line);
    QLocale::setDefault(locale);
    QVERIFY(Pic(4)->toolTip().isEmpty());
    QByteArray text = QByteArray(1234, 'e') + QByteArray(10000 - 1234, 't');
    Analyse(files_.Write(QStringLiteral("e"), text));
    QCOMPARE(Lines()[4], QStringLiteral("E = 1234  (%1%)").arg(line));
    QCOMPARE(Pic(4)->toolTip(), QStringLiteral("e = 1234  (%1%)").arg(line));
    QCOMPARE(Pic(4)->accessibleName(), QStringLiteral("e"));
    QCOMPARE(Pic(4)->accessibleDescription(), QStringLiteral("1234 (%1%)").arg(line));
    QCOMPARE(Pic(0)->toolTip(), QStringLiteral("a = 0  (0%)"));
    window_->SetMarkers(EnglishFrequencies());
    QCOMPARE(Pic(4)->toolTip(), QStringLiteral("e = 1234  (%1%) \u2014 atteso %2%")
                                    .arg(line, locale.toString(12.62, 'f', 2)));
}

void TestFMainAnalysis::anotherAnalysisWaitsForTheCountUnderWay() {
    Analyse(files_.Write(QStringLiteral("aaab"), "aaab"));
    const QImage bar = Pic(0)->Drawing();
    StartEndlessCount();
    // Neither Sfoglia nor a text handed in starts a second count while one runs.
    QTest::mouseClick(window_->findChild<QWidget*>(QStringLiteral("cmdBrowse")), Qt::LeftButton);
    QCOMPARE(fakes_->dialog.shown, 2);
    window_->Analyse(TextSource::Text(TextSource::Kind::Pasted, "zzzz"));
    // The window still answers: a scale redraws the bars of the analysis shown.
    ClickOption(1);
    QCOMPARE(window_->scaleIndex(), std::int16_t(1));
    QCOMPARE(BarRows(Pic(0)), 177); // 75 of 50
    ClickOption(0);
    // Annulla: the count stops at once and changes nothing.
    QSignalSpy ended(&fakes_->counter, &SourceCounter::finished);
    QElapsedTimer stopping;
    stopping.start();
    fakes_->counter.Cancel();
    QVERIFY(ended.wait(2000));
    QCOMPARE_LT(stopping.elapsed(), 200);
    QCOMPARE(Lines(), AaabReport());
    QCOMPARE(Pic(0)->Drawing(), bar);
    QVERIFY(fakes_->messages.texts.isEmpty());
    QCOMPARE(fakes_->model.result()->analysis.total, 4);
}

void TestFMainAnalysis::closingTheWindowStopsTheCount() {
    StartEndlessCount();
    QSignalSpy ended(&fakes_->counter, &SourceCounter::finished);
    QVERIFY(window_->close());
    QVERIFY(ended.wait(1000));
    QVERIFY(!fakes_->counter.IsBusy());
    QVERIFY(Lines().isEmpty());
    QCOMPARE(window_->totalLetters(), 0);
}

void TestFMainAnalysis::aFileCutWhileCountedIsAReadError() {
    // Cut to nothing once the count has read some of it, mapped or read: a read error, the last
    // analysis kept, and the process still here.
    Analyse(files_.Write(QStringLiteral("aaab"), "aaab"));
    StartEndlessCount();
    QVERIFY(QTest::qWaitFor([this] { return fakes_->progress.lastRead > 0; }, 10000));
    QSignalSpy ended(&fakes_->counter, &SourceCounter::finished);
    const QString sparse = files_.Path(QStringLiteral("sparse"));
    QVERIFY(QFile::resize(sparse, 0));
    QVERIFY(ended.wait(10000));
    QCOMPARE(fakes_->messages.texts,
             QStringList{QStringLiteral("Impossibile analizzare il file:\n%1\nErrore durante la "
                                        "lettura.")
                             .arg(QDir::toNativeSeparators(sparse))});
    QCOMPARE(Lines(), AaabReport());
    QCOMPARE(window_->totalLetters(), 4);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

QTEST_MAIN(TestFMainAnalysis)
#include "tst_fmain_analysis.moc"
