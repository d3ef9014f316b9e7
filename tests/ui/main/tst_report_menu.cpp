#include "app_fonts.h"
#include "fake_services.h"
#include "fmain.h"
#include "fstats.h"
#include "picture_area.h"
#include "temp_files.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace tallivo;

namespace {

const QColor kBlack(0, 0, 0);

// Rows of a picture's drawing whose middle pixel is colour.
QList<int> RowsOf(const PictureArea* pic, const QColor& colour) {
    const QImage& image = pic->Drawing();
    QList<int> rows;
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixelColor(image.width() / 2, y) == colour) {
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
    void statisticsShowTheLastTextAndNoticeAChangedFile();
    void copiesTheTableAndTheChart();

private:
    QAction* Action(const char* name) const {
        return window_->findChild<QAction*>(QLatin1String(name));
    }
    PictureArea* Pic(int i) const {
        return window_->findChild<PictureArea*>(QStringLiteral("picLett%1").arg(i));
    }
    void Analyse(const QString& path) {
        fakes_->dialog.names.enqueue(path);
        window_->cmdBrowse_Click();
    }

    TempFiles files_;
    FakeServices* fakes_ = nullptr;
    FMain* window_ = nullptr;
};

void TestReportMenu::init() {
    fakes_ = new FakeServices;
    window_ = new FMain(fakes_->services);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void TestReportMenu::cleanup() {
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

    Analyse(files_.Write(QStringLiteral("aaab"), "aaab"));
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
    // Italian e 11.79 %, t 5.62 %; English e 12.7 %, t 9.1 %.
    QTest::newRow("Italian, x 1") << 0 << "actItalian" << 156 << 167;
    QTest::newRow("Italian, x 8") << 7 << "actItalian" << 3 << 94;
    QTest::newRow("Italian, x 7") << 6 << "actItalian" << 28 << 106;
    QTest::newRow("English, x 8: e above the top") << 7 << "actEnglish" << -1 << 43;
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
        QVERIFY(RowsOf(Pic(9), kBlack).isEmpty()); // j is 0.00 in Italian: no line
        QCOMPARE(Pic(4)->toolTip(), QStringLiteral("e = 0  (0%) — atteso 11.79%"));
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

    text->trigger(); // the dialog is cancelled
    QVERIFY(Action("actEnglish")->isChecked());
    fakes_->dialog.names.enqueue(files_.Write(QStringLiteral("numeri.txt"), "1 2 3"));
    text->trigger();
    QVERIFY(Action("actEnglish")->isChecked());
    QCOMPARE(fakes_->messages.texts.size(), 1);
    fakes_->dialog.names.enqueue(files_.Path(QStringLiteral("gone.txt")));
    text->trigger();
    QVERIFY(Action("actEnglish")->isChecked());
    QVERIFY(fakes_->messages.texts.last().endsWith(QStringLiteral("Il file non esiste.")));

    // A text of half e, half z marks e and z at 50 %.
    fakes_->dialog.names.enqueue(files_.Write(QStringLiteral("promessi.txt"), "ez EZ"));
    text->trigger();
    QVERIFY(text->isChecked());
    QCOMPARE(text->text(), QStringLiteral("Testo di riferimento: promessi.txt"));
    QCOMPARE(RowsOf(Pic(25), kBlack), QList<int>{89});
    QVERIFY(RowsOf(Pic(0), kBlack).isEmpty());
    QCOMPARE(window_->reference()->name, std::string("promessi.txt"));
}

void TestReportMenu::statisticsShowTheLastTextAndNoticeAChangedFile() {
    const QString path = files_.Write(QStringLiteral("abab"), "ab, ab");
    Analyse(path);
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        auto* stats = qobject_cast<FStats*>(QApplication::activeModalWidget());
        QVERIFY(stats != nullptr);
        QCOMPARE(stats->windowTitle(), QStringLiteral("Statistiche"));
        for (int i = 0; auto* line = stats->findChild<QLabel*>(QStringLiteral("lblStat%1").arg(i));
             ++i) {
            shown << line->text();
        }
        QTest::keyClick(stats, Qt::Key_Escape);
    });
    Action("actStatistics")->trigger();
    QCOMPARE(shown.value(0), QStringLiteral("Lettere: 4"));
    QVERIFY(shown.contains(QStringLiteral("AB 2 (66.67%)")));
    QVERIFY(shown.contains(QStringLiteral("BAB 1 (50%)")));
    QCOMPARE(fakes_->progress.watched.last(), QDir::toNativeSeparators(path));

    files_.Write(QStringLiteral("abab"), "ab, abc");
    Action("actStatistics")->trigger();
    QCOMPARE(fakes_->messages.texts.size(), 1);
    QVERIFY(fakes_->messages.texts[0].contains(QStringLiteral("Il file è cambiato")));
}

void TestReportMenu::copiesTheTableAndTheChart() {
    Analyse(files_.Write(QStringLiteral("aaab"), "aaab"));
    QTest::keyClick(window_, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    const QString table = QGuiApplication::clipboard()->text();
    QVERIFY(
        table.startsWith(QStringLiteral("Lettera\tConteggio\tPercentuale\nA\t3\t75\nB\t1\t25\n")));
    QVERIFY(table.endsWith(QStringLiteral("Totale\t4\n")));

    Action("actCopyChart")->trigger();
    const QImage chart = QGuiApplication::clipboard()->image();
    // From the left of a's picture (8) to the right of z's (403), 181 pixels high.
    QCOMPARE(chart.size() / chart.devicePixelRatio(), QSize(396, 181));
    QCOMPARE(chart.pixelColor(5, 100), QColor(255, 0, 0)); // a's bar
}

QTEST_MAIN(TestReportMenu)
#include "tst_report_menu.moc"
