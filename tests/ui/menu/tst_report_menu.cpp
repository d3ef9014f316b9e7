#include "app_fonts.h"
#include "composition.h"
#include "fake_services.h"
#include "fmain.h"
#include "picture_area.h"
#include "reference_choice.h"
#include "report_lines.h"
#include "report_menu.h"
#include "temp_files.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QToolTip>

using namespace tallivo;

namespace {

const QColor kBlack(0, 0, 0);

// Rows of a picture's drawing that hold colour at either edge (a marker leaves the middle of
// its letter free).
QList<int> RowsOf(const PictureArea* pic, const QColor& colour) {
    const QImage& image = pic->Drawing();
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixelColor(0, y) == colour || image.pixelColor(image.width() - 1, y) == colour) {
            rows << y;
        }
    }
    return rows;
}

} // namespace

class TestReportMenu : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallUiFont(); }
    void init();
    void cleanup();
    void menuOpensOnTheReportWithItemsThatNeedAnAnalysisDisabled();
    void markersStandAtTheReferenceOnTheCurrentScale_data();
    void markersStandAtTheReferenceOnTheCurrentScale();
    void referenceTextKeepsTheLastChoiceUnlessItCounts();
    void windowsOpenOnTheAnalysisWithoutReadingItAgain();
    void copiesTheReportAndTheTable_data();
    void copiesTheReportAndTheTable();
    void chartStandsOnItsOwn();

private:
    QAction* Action(const char* name) const {
        return window_->findChild<QAction*>(QLatin1String(name));
    }
    PictureArea* Pic(int i) const {
        return window_->findChild<PictureArea*>(QStringLiteral("picLett%1").arg(i));
    }
    void Analyse(const QString& path) {
        fakes_->dialog.names.enqueue(path);
        fakes_->AndWait([this] { window_->cmdBrowse_Click(); });
    }
    void Trigger(const char* name) {
        fakes_->AndWait([this, name] { Action(name)->trigger(); });
    }

    TempFiles files_;
    FakeServices* fakes_ = nullptr;
    FMain* window_ = nullptr;
};

void TestReportMenu::init() {
    fakes_ = new FakeServices;
    window_ = new FMain(fakes_->services, fakes_->counter, fakes_->model);
    ComposeFeatures(*window_, fakes_->model, fakes_->services, fakes_->counter);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void TestReportMenu::cleanup() {
    QLocale::setDefault(QLocale::c());
    delete window_;
    delete fakes_;
}

void TestReportMenu::menuOpensOnTheReportWithItemsThatNeedAnAnalysisDisabled() {
    auto* menu = window_->findChild<QMenu*>(QStringLiteral("reportMenu"));
    auto* list = window_->findChild<QListWidget*>(QStringLiteral("lstFreq"));
    QVERIFY(!menu->isVisible());
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                            list->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list->viewport(), &click);
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(!menu->accessibleName().isEmpty());
    QVERIFY(!Action("actStatistics")->isEnabled());
    QVERIFY(!Action("actCopyChart")->isEnabled());
    QVERIFY(Action("actPaste")->isEnabled());
    QVERIFY(Action("actNoReference")->isChecked());
    menu->close();

    // Before an analysis the bars and the list tell of the menu; after one, a bar tells its value.
    auto hover = [](QWidget* view) {
        QHelpEvent tip(QEvent::ToolTip, QPoint(4, 4), view->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(view, &tip);
        return QToolTip::text();
    };
    QVERIFY(hover(Pic(3)).startsWith(QStringLiteral("Clic destro: ")));
    QVERIFY(hover(list->viewport()).startsWith(QStringLiteral("Clic destro: ")));
    QToolTip::hideText();

    Analyse(files_.Write(QStringLiteral("aaab"), "aaab"));
    QCOMPARE(hover(Pic(3)), QStringLiteral("d = 0  (0%)"));
    QToolTip::hideText();
    Pic(3)->setFocus();
    QTest::keyClick(Pic(3), Qt::Key_F10, Qt::ShiftModifier);
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(Action("actStatistics")->isEnabled());
    menu->close();

    // A text without letters leaves nothing to copy or measure.
    Analyse(files_.Write(QStringLiteral("digits"), "123"));
    QVERIFY(!Action("actCopyTable")->isEnabled());
}

void TestReportMenu::markersStandAtTheReferenceOnTheCurrentScale_data() {
    QTest::addColumn<int>("option");
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("eRow"); // -1: no line
    QTest::addColumn<int>("tRow");
    // The 177 rows stand for the gauge range; a marker sits at round((max - p) * 177 / max).
    // Italian e 11.54 %, t 6.21 %; English e 12.62 %, t 8.73 %.
    QTest::newRow("Italian, x 1") << 0 << "actItalian" << 157 << 166;
    QTest::newRow("Italian, x 8") << 7 << "actItalian" << 7 << 85;
    QTest::newRow("Italian, x 7") << 6 << "actItalian" << 31 << 98;
    QTest::newRow("English, x 8: e above the top") << 7 << "actEnglish" << -1 << 48;
}

void TestReportMenu::markersStandAtTheReferenceOnTheCurrentScale() {
    QFETCH(int, option);
    QFETCH(QString, language);
    QFETCH(int, eRow);
    QFETCH(int, tRow);
    // a 75 %, b 25 %: a's bar is full on every scale, b's below or at the top.
    Analyse(files_.Write(QStringLiteral("aaab"), "aaab"));
    auto* scale = window_->findChild<QRadioButton*>(QStringLiteral("opt%1").arg(option));
    QTest::mouseClick(scale, Qt::LeftButton, {}, QPoint(6, 8));
    const QImage bBefore = Pic(1)->Drawing();

    window_->findChild<QAction*>(language)->trigger();
    QCOMPARE(RowsOf(Pic(4), kBlack), eRow < 0 ? QList<int>{} : QList<int>{eRow});
    QCOMPARE(RowsOf(Pic(19), kBlack), QList<int>{tRow});
    if (language == QLatin1String("actItalian")) {
        QVERIFY(RowsOf(Pic(9), kBlack).isEmpty()); // j, 0.03 % in Italian, falls below the bar
        QCOMPARE(Pic(4)->toolTip(), QStringLiteral("e = 0  (0%) — atteso 11.54%"));
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        Action("actItalian")->trigger();
        QCOMPARE(Pic(4)->toolTip(), QStringLiteral("e = 0  (0%) — atteso 11,54%"));
    }
    // Outside its marker row, b's picture is as it was.
    const int bRow = RowsOf(Pic(1), kBlack).value(0, -1);
    QImage bAfter = Pic(1)->Drawing();
    for (int x = 0; x < bAfter.width() && bRow >= 0; ++x) {
        bAfter.setPixelColor(x, bRow, bBefore.pixelColor(x, bRow));
    }
    QCOMPARE(bAfter, bBefore);
    QVERIFY(Pic(19)->toolTip().startsWith(QStringLiteral("t = 0  (0%) — atteso ")));

    // A rescale keeps them; "Nessun riferimento" takes them away.
    QTest::mouseClick(window_->findChild<QRadioButton*>(QStringLiteral("opt0")), Qt::LeftButton, {},
                      QPoint(6, 8));
    QCOMPARE(RowsOf(Pic(19), kBlack).size(), 1);
    Action("actNoReference")->trigger();
    QVERIFY(RowsOf(Pic(4), kBlack).isEmpty());
    QCOMPARE(Pic(4)->toolTip(), QStringLiteral("e = 0  (0%)"));
}

void TestReportMenu::referenceTextKeepsTheLastChoiceUnlessItCounts() {
    Analyse(files_.Write(QStringLiteral("aaab"), "aaab"));
    Action("actEnglish")->trigger();
    QAction* text = Action("actReferenceText");

    Trigger("actReferenceText"); // the dialog is cancelled
    QVERIFY(Action("actEnglish")->isChecked());
    fakes_->dialog.names.enqueue(files_.Write(QStringLiteral("numeri.txt"), "1 2 3"));
    Trigger("actReferenceText");
    QVERIFY(Action("actEnglish")->isChecked());
    QCOMPARE(fakes_->messages.texts.size(), 1);
    fakes_->dialog.names.enqueue(files_.Path(QStringLiteral("gone.txt")));
    Trigger("actReferenceText");
    QVERIFY(Action("actEnglish")->isChecked());
    QVERIFY(fakes_->messages.texts.last().endsWith(QStringLiteral("Il file non esiste.")));
    QCOMPARE(fakes_->model.reference().name, QStringLiteral("inglese"));

    // A text of half e, half z marks e and z at 50 %.
    fakes_->dialog.names.enqueue(files_.Write(QStringLiteral("promessi.txt"), "ez EZ"));
    Trigger("actReferenceText");
    QVERIFY(text->isChecked());
    QCOMPARE(text->text(), QStringLiteral("Testo di riferimento: promessi.txt"));
    QCOMPARE(RowsOf(Pic(25), kBlack), QList<int>{89});
    QVERIFY(RowsOf(Pic(0), kBlack).isEmpty());
    QCOMPARE(fakes_->model.reference().name, QStringLiteral("promessi.txt"));
}

void TestReportMenu::windowsOpenOnTheAnalysisWithoutReadingItAgain() {
    const QString path = files_.Write(QStringLiteral("hello"), "Hello World");
    Analyse(path);
    QCOMPARE(fakes_->progress.watched, QStringList{QDir::toNativeSeparators(path)});
    // The statistics and the workbench work on what the one pass kept.
    Trigger("actStatistics");
    QTest::keyClick(window_, Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(window_, Qt::Key_F1);
    QCOMPARE(fakes_->windows.statisticsShown, 1);
    QCOMPARE(fakes_->windows.workbenchShown, 1);
    QCOMPARE(fakes_->windows.guideTopics, QStringList{"finestra"});
    QCOMPARE(fakes_->progress.watched.size(), 1);
    QCOMPARE(QByteArray::fromStdString(fakes_->model.result()->analysis.text->bytes()),
             QByteArray("Hello World"));
    QCOMPARE(fakes_->model.result()->analysis.ngrams->Total(2), std::uint64_t(9));
}

void TestReportMenu::copiesTheReportAndTheTable_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("third");
    QTest::addColumn<QString>("italianA");
    QTest::newRow("C") << QLocale::c() << QStringLiteral("33.33") << QStringLiteral("11.14");
    QTest::newRow("Italian") << QLocale(QLocale::Italian, QLocale::Italy) << QStringLiteral("33,33")
                             << QStringLiteral("11,14");
}

void TestReportMenu::copiesTheReportAndTheTable() {
    QFETCH(QLocale, locale);
    QFETCH(QString, third);
    QFETCH(QString, italianA);
    QLocale::setDefault(locale);
    Analyse(files_.Write(QStringLiteral("aab"), "aab"));
    // Ctrl+C on the list copies the whole report, not only its current line.
    auto* list = window_->findChild<QListWidget*>(QStringLiteral("lstFreq"));
    list->setFocus();
    list->setCurrentRow(3);
    QTest::keySequence(list, QKeySequence::Copy);
    const QString report = QGuiApplication::clipboard()->text();
    QCOMPARE(report, ReportListLines(window_).join(QLatin1Char('\n')) + '\n');
    QVERIFY(report.startsWith(QStringLiteral("A = 2  (66") + locale.decimalPoint() + "67%)\n"));

    QTest::keyClick(window_, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QString table = QGuiApplication::clipboard()->text();
    QVERIFY(
        table.startsWith(QStringLiteral("Lettera\tConteggio\tPercentuale\nA\t2\t66%1\nB\t1\t%2\n")
                             .arg(locale.decimalPoint() + QStringLiteral("67"), third)));
    QVERIFY(table.endsWith(QStringLiteral("Totale\t3\n")));

    // With a reference, the expected percentage stands in a fourth column.
    Action("actItalian")->trigger();
    QTest::keyClick(window_, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    table = QGuiApplication::clipboard()->text();
    QCOMPARE(table.section('\n', 0, 0), QStringLiteral("Lettera\tConteggio\tPercentuale\tAtteso"));
    QCOMPARE(table.section('\n', 1, 1),
             QStringLiteral("A\t2\t66%1\t%2")
                 .arg(locale.decimalPoint() + QStringLiteral("67"), italianA));
    QCOMPARE(table.section('\n', 10, 10),
             QStringLiteral("J\t0\t0\t0%1").arg(locale.decimalPoint() + QStringLiteral("03")));
}

void TestReportMenu::chartStandsOnItsOwn() {
    Analyse(files_.Write(QStringLiteral("aaab"), "aaab"));
    auto* scale = window_->findChild<QRadioButton*>(QStringLiteral("opt3"));
    QTest::mouseClick(scale, Qt::LeftButton, {}, QPoint(6, 8)); // x 4: 25 % at full height
    // Covered by another window or not, the chart is drawn, not grabbed from the screen.
    window_->hide();
    Action("actCopyChart")->trigger();
    const QImage chart = QGuiApplication::clipboard()->image();
    QImage plain = chart;
    plain.setDevicePixelRatio(1.0);
    QCOMPARE(plain.width(), 2 * (2 * 12 + 26 * 16)); // twice the screen's pixel density
    // a (75 %) and b (25 %) fill the plot at x 4; c stays empty; the letters stand under them.
    int redColumns = 0;
    const int middle = plain.height() / 2;
    for (int x = 0; x < plain.width(); ++x) {
        redColumns += plain.pixelColor(x, middle) == QColor(255, 0, 0);
    }
    QCOMPARE(redColumns, 2 * 2 * 10);

    // A reference adds its marks and the legend's line under the letters.
    Action("actItalian")->trigger();
    Action("actCopyChart")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().height(), plain.height() + 2 * 18);
}

QTEST_MAIN(TestReportMenu)
#include "tst_report_menu.moc"
