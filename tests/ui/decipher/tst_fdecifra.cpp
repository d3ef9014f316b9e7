#include "app_fonts.h"
#include "cipher_texts.h"
#include "composition.h"
#include "fake_services.h"
#include "fdecifra.h"
#include "fguida.h"
#include "fmain.h"
#include "key_slots.h"
#include "letter_bars.h"
#include "picture_area.h"
#include "qt_window_service.h"
#include "temp_files.h"
#include "text_pane.h"
#include "text_source.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

using namespace tallivo;

class TestFDecifra : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallUiFont(); }
    void init();
    void cleanup();
    void breaksEachKindOfCipherThroughTheWindow();
    void refusesABadKeyAndKeepsTheOneInUse();
    void everyControlIsReachedWithTheKeyboard();
    void figuresUseTheDesktopsDecimalSeparator_data();
    void figuresUseTheDesktopsDecimalSeparator();
    void keysStayUntilTheStudentTakesANewText();
    void aPeriodChangeKeepsTheKeywordAsTyped();
    void neverReadsTheFileAgain();
    void fitsTheScreenAndAnswersTheKeyboard();
    void noAccessKeyServesTwoControls();
    void showsATextThatIsNotUtf8AsWindows1252();

private:
    // The fakes, but the windows the program's own: the workbench is shown for real.
    struct Program {
        ScriptedDialog dialog;
        RecordingMessages messages;
        ScriptedProgress progress;
        AnalysisModel model;
        QtWindowService windows{model, messages};
        PlatformServices services{dialog, messages, progress, windows};
        SourceCounter counter{services};
    };

    // Runs command and waits for the count it may start.
    void AndWait(const std::function<void()>& command) {
        QSignalSpy ended(&program_->counter, &SourceCounter::finished);
        command();
        if (program_->counter.IsBusy()) {
            QVERIFY(ended.wait(10000));
        }
    }
    void Analyse(const QString& path) {
        program_->dialog.names.enqueue(path);
        AndWait([this] { window_->cmdBrowse_Click(); });
    }
    void OpenWorkbench() { window_->findChild<QAction*>(QStringLiteral("actDecifra"))->trigger(); }
    FDecifra* Bench() const { return program_->windows.workbench(); }
    template <typename T> T* Find(const char* name) const {
        return Bench()->findChild<T*>(QLatin1String(name));
    }
    void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
    QString Plain() const { return Bench()->PlainText(); }
    void ShowPage(int index) { Find<QTabWidget>("tabModi")->setCurrentIndex(index); }
    // Replaces the line's text as typing does, a character at a time, any character.
    static void Type(QLineEdit* line, const QString& text) {
        line->selectAll();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(line, &press);
        }
    }

    TempFiles files_;
    Program* program_ = nullptr;
    FMain* window_ = nullptr;
};

void TestFDecifra::init() {
    program_ = new Program;
    window_ = new FMain(program_->services, program_->counter, program_->model);
    program_->windows.SetOwner(window_);
    ComposeFeatures(*window_, program_->model, program_->services, program_->counter);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void TestFDecifra::cleanup() {
    delete window_;
    delete program_;
}

void TestFDecifra::breaksEachKindOfCipherThroughTheWindow() {
    const QByteArray plain = ItalianSample();
    const QString expected = QString::fromUtf8(plain);
    QAction* open = window_->findChild<QAction*>(QStringLiteral("actDecifra"));
    QVERIFY(!open->isEnabled());
    QCOMPARE(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));

    // Caesar: the best shift by chi-squared gives the text back, accents, case and all.
    Analyse(files_.Write(QStringLiteral("cesare.txt"), Encrypt(plain, "h")));
    QVERIFY(open->isEnabled());
    OpenWorkbench();
    FDecifra* bench = Bench();
    QVERIFY(bench != nullptr && bench->isVisible());
    QCOMPARE(bench->windowTitle(), QStringLiteral("Decifra"));
    QVERIFY(Find<QLabel>("lblTesto")->text().contains(QStringLiteral("cesare.txt")));
    QVERIFY(Plain() != expected);
    Click("cmdMigliorSpostamento");
    QCOMPARE(Find<QSpinBox>("spnSpostamento")->value(), 7);
    QCOMPARE(Plain(), expected);
    // Right tries the next shift at once.
    QTest::keyClick(Find<QSpinBox>("spnSpostamento"), Qt::Key_Right);
    QCOMPARE(Find<QSpinBox>("spnSpostamento")->value(), 8);
    QVERIFY(Plain() != expected);

    // Substitution of the same text: unassigned letters show as dots, one per letter; the key
    // typed whole gives the text back and fills the slots.
    Find<QTabWidget>("tabModi")->setCurrentIndex(1);
    static const QRegularExpression letter(QStringLiteral("[a-zA-Z]"));
    QCOMPARE(Plain(), QString(expected).replace(letter, QStringLiteral("·")));
    Type(Find<QLineEdit>("txtChiaveSostituzione"), QStringLiteral("tuvwxyzabcdefghijklmnopqrs"));
    QCOMPARE(Plain(), expected);
    auto* keySlots = Find<KeySlots>("grdChiave");
    QCOMPARE(keySlots->key().PlainOf(0), 't' - 'a');
    // Two cipher letters given the same plaintext letter are both marked.
    keySlots->setFocus();
    keySlots->setCurrentCell(0, 1);
    QTest::keyClick(keySlots, Qt::Key_T);
    QCOMPARE(Find<QLineEdit>("txtChiaveSostituzione")->text(),
             QStringLiteral("ttvwxyzabcdefghijklmnopqrs"));
    QCOMPARE(keySlots->item(0, 0)->background(), keySlots->item(0, 1)->background());
    QVERIFY(keySlots->item(0, 0)->background() != keySlots->item(0, 2)->background());

    // The student takes the next text: the same workbench, with empty keys.
    Analyse(files_.Write(QStringLiteral("vigenere.txt"), Encrypt(plain, "chiave")));
    Click("cmdUsaNuovoTesto");
    QVERIFY(Find<QLabel>("lblTesto")->text().contains(QStringLiteral("vigenere.txt")));
    QCOMPARE(Bench(), bench);
    QCOMPARE(Find<QSpinBox>("spnSpostamento")->value(), 0);
    QCOMPARE(Find<QLineEdit>("txtChiaveSostituzione")->text(), QString(26, QLatin1Char('.')));
    Find<QTabWidget>("tabModi")->setCurrentIndex(2);
    QTRY_VERIFY(Find<QTableWidget>("tblPeriodi")->rowCount() > 1); // worked out beside
    Click("cmdTrovaPeriodo");
    QCOMPARE(Find<QSpinBox>("spnPeriodo")->value(), 6);
    Click("cmdMigliorChiave");
    QCOMPARE(Find<QLineEdit>("txtParolaChiave")->text(), QStringLiteral("chiave"));
    QCOMPARE(Plain(), expected);
    // One column shifted alone changes only its key letter.
    Find<QSpinBox>("spnColonna")->setValue(2);
    Find<QSpinBox>("spnSpostamentoColonna")->setValue(0);
    QCOMPARE(Find<QLineEdit>("txtParolaChiave")->text(), QStringLiteral("caiave"));
    QCOMPARE(bench->KeyText(), QStringLiteral("caiave"));
}

void TestFDecifra::refusesABadKeyAndKeepsTheOneInUse() {
    // A pasted text, this time.
    AndWait(
        [this] { window_->Analyse(TextSource::Text(TextSource::Kind::Pasted, "Uryyb, jbeyq!")); });
    OpenWorkbench();
    QVERIFY(Find<QLabel>("lblTesto")->text().contains(QStringLiteral("(testo incollato)")));
    Find<QTabWidget>("tabModi")->setCurrentIndex(1);
    QLineEdit* line = Find<QLineEdit>("txtChiaveSostituzione");
    Type(line, QStringLiteral("nopqrstuvwxyzabcdefghijklm"));
    QCOMPARE(Plain(), QStringLiteral("Hello, world!"));
    // One character too many, a digit, a letter outside a-z: a hint, and the key stays.
    for (const QString& bad : {QStringLiteral("nopqrstuvwxyzabcdefghijklmn"),
                               QStringLiteral("nopqrstuvwxyzabcdefghijkl1"),
                               QStringLiteral("nopqrstuvwxyzabcdefghijklè")}) {
        Type(line, bad);
        QVERIFY2(!Find<QLabel>("lblSuggerimento")->text().isEmpty(), qPrintable(bad));
        QCOMPARE(line->text(), bad); // not cut short
        QCOMPARE(Plain(), QStringLiteral("Hello, world!"));
    }
    Find<QTabWidget>("tabModi")->setCurrentIndex(2);
    QLineEdit* keyword = Find<QLineEdit>("txtParolaChiave");
    Type(keyword, QStringLiteral("n"));
    QCOMPARE(Plain(), QStringLiteral("Hello, world!"));
    Type(keyword, QStringLiteral("n-"));
    QVERIFY(!Find<QLabel>("lblSuggerimentoParola")->text().isEmpty());
    QCOMPARE(Plain(), QStringLiteral("Hello, world!"));

    // A new text without letters leaves nothing to decipher: the workbench keeps its text.
    Analyse(files_.Write(QStringLiteral("cifre.txt"), "1234"));
    QVERIFY(Bench()->isVisible());
    QVERIFY(Find<QFrame>("fraNuovoTesto")->isHidden());
    QCOMPARE(Plain(), QStringLiteral("Hello, world!"));
}

void TestFDecifra::everyControlIsReachedWithTheKeyboard() {
    Analyse(files_.Write(QStringLiteral("testo.txt"), "Uryyb, jbeyq!"));
    OpenWorkbench();
    FDecifra* bench = Bench();
    bench->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(bench));
    const QList<QStringList> expected{
        {"spnSpostamento", "cmdMigliorSpostamento", "tblSpostamenti"},
        {"grdChiave", "txtChiaveSostituzione", "cmdProponi", "cmdAzzera"},
        {"spnPeriodo", "cmdTrovaPeriodo", "txtParolaChiave", "cmdMigliorChiave", "spnColonna",
         "spnSpostamentoColonna", "tblPeriodi", "tblRipetizioni"}};
    for (int page = 0; page < 3; ++page) {
        Find<QTabWidget>("tabModi")->setCurrentIndex(page);
        bench->activateWindow();
        Find<QComboBox>("cboLingua")->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), Find<QComboBox>("cboLingua"));
        QStringList reached;
        for (int step = 0; step < 40; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget()->objectName();
        }
        for (const QString& name :
             expected[page] + QStringList{"qt_tabwidget_tabbar", "txtChiaro", "cmdCopiaTesto",
                                          "cmdCopiaChiave", "cmdChiudi"}) {
            QVERIFY2(reached.contains(name),
                     qPrintable(name + QLatin1Char(' ') + reached.join(QLatin1Char(','))));
        }
    }
}

void TestFDecifra::figuresUseTheDesktopsDecimalSeparator_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("coincidence");
    QTest::newRow("C") << "C"
                       << "Indice di coincidenza: 0.1333";
    QTest::newRow("Italian") << "it_IT"
                             << "Indice di coincidenza: 0,1333";
}

void TestFDecifra::figuresUseTheDesktopsDecimalSeparator() {
    QFETCH(QString, locale);
    QFETCH(QString, coincidence);
    QLocale::setDefault(QLocale(locale));
    // Two a's and two b's in six letters: (2 + 2) / (6 * 5).
    Analyse(files_.Write(QStringLiteral("testo.txt"), "aabbcd"));
    OpenWorkbench();
    QLocale::setDefault(QLocale::c());
    QVERIFY2(Find<QLabel>("lblFigure")->text().startsWith(coincidence),
             qPrintable(Find<QLabel>("lblFigure")->text()));
}

void TestFDecifra::keysStayUntilTheStudentTakesANewText() {
    const QByteArray plain = ItalianSample();
    const QString path = files_.Write(QStringLiteral("cesare.txt"), Encrypt(plain, "d"));
    Analyse(path);
    OpenWorkbench();
    FDecifra* bench = Bench();
    Find<QSpinBox>("spnSpostamento")->setValue(3);
    ShowPage(1);
    Type(Find<QLineEdit>("txtChiaveSostituzione"), QStringLiteral("xyzabcdefghijklmnopqrstuvw"));
    const QString substituted = Plain();

    // Ctrl+D on the open workbench only brings it forward.
    QTest::keyClick(window_, Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(Bench(), bench);
    QCOMPARE(Plain(), substituted);
    // The same text analysed again, from the file or pasted: the keys stay, nothing to ask.
    Analyse(path);
    AndWait(
        [&] { window_->Analyse(TextSource::Text(TextSource::Kind::Pasted, Encrypt(plain, "d"))); });
    QVERIFY(Find<QFrame>("fraNuovoTesto")->isHidden());
    QCOMPARE(Plain(), substituted);
    // Another text: the workbench says so and keeps working on its own until asked.
    Analyse(files_.Write(QStringLiteral("altro.txt"), "Tutt'altro testo."));
    QVERIFY(!Find<QFrame>("fraNuovoTesto")->isHidden());
    QCOMPARE(Plain(), substituted);
    QCOMPARE(Bench()->KeyText(), QStringLiteral("xyzabcdefghijklmnopqrstuvw"));
    ShowPage(0);
    QCOMPARE(Find<QSpinBox>("spnSpostamento")->value(), 3);
    QCOMPARE(Plain(), QString::fromUtf8(plain));
    Click("cmdUsaNuovoTesto");
    QVERIFY(Find<QFrame>("fraNuovoTesto")->isHidden());
    QCOMPARE(Find<QSpinBox>("spnSpostamento")->value(), 0);
    QCOMPARE(Plain(), QStringLiteral("Tutt'altro testo."));
    // Closed and opened again, it starts from the text analysed last.
    QTest::keyClick(Bench(), Qt::Key_Escape);
    QTRY_COMPARE(Bench(), nullptr);
    OpenWorkbench();
    QCOMPARE(Plain(), QStringLiteral("Tutt'altro testo."));
}

void TestFDecifra::aPeriodChangeKeepsTheKeywordAsTyped() {
    const QByteArray plain = ItalianSample();
    Analyse(files_.Write(QStringLiteral("vigenere.txt"), Encrypt(plain, "lemonade")));
    OpenWorkbench();
    ShowPage(2);
    QLineEdit* keyword = Find<QLineEdit>("txtParolaChiave");
    auto* period = Find<QSpinBox>("spnPeriodo");
    Type(keyword, QStringLiteral("lemonade"));
    QCOMPARE(period->value(), 8);
    QCOMPARE(Plain(), QString::fromUtf8(plain));
    // "16" typed into the period passes through 1 on its way: the keyword is kept as typed.
    period->setFocus();
    period->selectAll();
    QTest::keyClicks(period, QStringLiteral("16"));
    QCOMPARE(period->value(), 16);
    QCOMPARE(keyword->text(), QStringLiteral("lemonade"));
    QCOMPARE(Bench()->KeyText(), QStringLiteral("lemonadeaaaaaaaa"));
    period->selectAll();
    QTest::keyClicks(period, QStringLiteral("8"));
    QCOMPARE(Bench()->KeyText(), QStringLiteral("lemonade"));
    QCOMPARE(Plain(), QString::fromUtf8(plain));
    period->selectAll();
    QTest::keyClicks(period, QStringLiteral("3"));
    QCOMPARE(Bench()->KeyText(), QStringLiteral("lem"));
    // A refused keyword leaves the key in use, and that is what "Copia chiave" copies.
    Type(keyword, QStringLiteral("lem0n"));
    QVERIFY(!Find<QLabel>("lblSuggerimentoParola")->text().isEmpty());
    Click("cmdCopiaChiave");
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("lem"));
    // The Kelvin sign looks like a "k" but is no letter a-z.
    Type(keyword, QStringLiteral("\u212Aey"));
    QVERIFY(!Find<QLabel>("lblSuggerimentoParola")->text().isEmpty());
    QCOMPARE(Bench()->KeyText(), QStringLiteral("lem"));
}

void TestFDecifra::fitsTheScreenAndAnswersTheKeyboard() {
    Analyse(files_.Write(QStringLiteral("testo.txt"), ItalianSample()));
    OpenWorkbench();
    FDecifra* bench = Bench();
    QVERIFY(QTest::qWaitForWindowExposed(bench));
    // Inside the screen's free area (the test screen is smaller than the usual window), every
    // button in view.
    const QRect room = bench->screen()->availableGeometry();
    QVERIFY2(room.contains(bench->frameGeometry()),
             qPrintable(QStringLiteral("%1x%2").arg(bench->width()).arg(bench->height())));
    for (const char* name : {"cmdCopiaTesto", "cmdCopiaChiave", "cmdChiudi"}) {
        QWidget* button = Find<QPushButton>(name);
        QVERIFY(bench->rect().contains(QRect(button->mapTo(bench, QPoint()), button->size())));
    }
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages from anywhere, round the end.
    bench->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(bench));
    Find<TextPane>("txtChiaro")->setFocus();
    auto* tabs = Find<QTabWidget>("tabModi");
    QTest::keyClick(Find<TextPane>("txtChiaro"), Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(tabs->currentIndex(), 1);
    QTest::keyClick(Find<TextPane>("txtChiaro"), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(Find<TextPane>("txtChiaro"), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(tabs->currentIndex(), tabs->count() - 1);
    // Ctrl++ enlarges the text and the bars for a projector, Ctrl+0 puts them back.
    const int pane = Find<TextPane>("txtChiaro")->font().pointSize();
    const int bar = Find<LetterBars>("barsTesto")->bars()[0]->height();
    QTest::keyClick(bench, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(bench, Qt::Key_Plus, Qt::ControlModifier);
    QVERIFY(Find<TextPane>("txtChiaro")->font().pointSize() > pane);
    QCOMPARE(Find<LetterBars>("barsTesto")->bars()[0]->height(), qRound(bar * 1.44));
    QTest::keyClick(bench, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(Find<TextPane>("txtChiaro")->font().pointSize(), pane);
    QCOMPARE(Find<LetterBars>("barsTesto")->bars()[0]->height(), bar);
    // F1 opens the guide at the page in view.
    tabs->setCurrentIndex(2);
    QTest::keyClick(bench, Qt::Key_F1);
    auto* guide = window_->findChild<FGuida*>();
    QVERIFY(guide != nullptr && guide->isVisible());
    QCOMPARE(guide->findChild<QTextBrowser*>()->source().fragment(), QStringLiteral("vigenere"));
    guide->close();
    bench->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(bench));
    // Ctrl+W closes it.
    QTest::keyClick(bench, Qt::Key_W, Qt::ControlModifier);
    QTRY_COMPARE(Bench(), nullptr);
}

void TestFDecifra::noAccessKeyServesTwoControls() {
    Analyse(files_.Write(QStringLiteral("testo.txt"), "Uryyb"));
    OpenWorkbench();
    // On every page, the access keys of what is shown are each used once.
    for (int page = 0; page < Find<QTabWidget>("tabModi")->count(); ++page) {
        ShowPage(page);
        QStringList keys;
        const auto add = [&keys](const QString& text) {
            const qsizetype at = text.indexOf(QLatin1Char('&'));
            if (at >= 0 && at + 1 < text.size()) {
                keys << text.mid(at + 1, 1).toLower();
            }
        };
        for (const QLabel* label : Bench()->findChildren<QLabel*>()) {
            if (label->isVisibleTo(Bench()) && label->buddy() != nullptr) {
                add(label->text());
            }
        }
        for (const QAbstractButton* button : Bench()->findChildren<QAbstractButton*>()) {
            if (button->isVisibleTo(Bench())) {
                add(button->text());
            }
        }
        QVERIFY(!keys.isEmpty());
        QCOMPARE(QSet<QString>(keys.begin(), keys.end()).size(), keys.size());
    }
}

void TestFDecifra::neverReadsTheFileAgain() {
    const QString path = files_.Write(QStringLiteral("testo.txt"), "Uryyb");
    Analyse(path);
    QVERIFY(QFile::remove(path));
    OpenWorkbench();
    QVERIFY(Bench()->isVisible());
    QCOMPARE(Plain(), QStringLiteral("Uryyb"));
    QCOMPARE(program_->progress.watched.size(), 1);
    QVERIFY(program_->messages.texts.isEmpty());
}

void TestFDecifra::showsATextThatIsNotUtf8AsWindows1252() {
    // "Città – €5" in Windows-1252: not UTF-8.
    Analyse(files_.Write(QStringLiteral("cp1252.txt"), "Citt\xe0 \x96 \x80"
                                                       "5"));
    OpenWorkbench();
    QCOMPARE(Plain(), QStringLiteral("Città – €5"));
}

QTEST_MAIN(TestFDecifra)
#include "tst_fdecifra.moc"
