#include "app_fonts.h"
#include "cipher_texts.h"
#include "composition.h"
#include "fake_services.h"
#include "fdecifra.h"
#include "fguida.h"
#include "fmain.h"
#include "guide_opener.h"
#include "key_slots.h"
#include "letter_bars.h"
#include "picture_area.h"
#include "qt_window_service.h"
#include "temp_files.h"
#include "text_pane.h"
#include "text_source.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
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
    void undoAndRedoWalkEachPagesKeys();
    void enciphersWithThePagesKey_data();
    void enciphersWithThePagesKey();
    void copiesTheChartAtTwiceTheDensity();
    void everyPageHasItsOwnPartOfTheGuide();

private:
    // The fakes, but the windows the program's own: the workbench is shown for real.
    struct Program {
        ScriptedDialog dialog;
        RecordingMessages messages;
        ScriptedProgress progress;
        AnalysisModel model;
        QtWindowService windows{model, messages};
        ScriptedClipboard clipboard;
        PlatformServices services{dialog, messages, progress, windows, clipboard};
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
    void ShowPage(const char* cipherName) { Bench()->ShowPage(QLatin1String(cipherName)); }
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
    // The workbench opens on "Che cifrario è?", which leaves the text as it is.
    QCOMPARE(Find<QTabWidget>("tabModi")->currentIndex(), 0);
    QCOMPARE(Plain(), QString::fromUtf8(Encrypt(plain, "h")));
    ShowPage("cesare");
    Click("cmdMigliorSpostamento");
    QCOMPARE(Find<QSpinBox>("spnSpostamento")->value(), 7);
    QCOMPARE(Plain(), expected);
    // Right tries the next shift at once.
    QTest::keyClick(Find<QSpinBox>("spnSpostamento"), Qt::Key_Right);
    QCOMPARE(Find<QSpinBox>("spnSpostamento")->value(), 8);
    QVERIFY(Plain() != expected);

    // Substitution of the same text: unassigned letters show as dots, one per letter; the key
    // typed whole gives the text back and fills the slots.
    ShowPage("sostituzione");
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
    Bench()->Announce(QStringLiteral("Spostamento 7: il testo si legge."));
    Click("cmdUsaNuovoTesto");
    QVERIFY(Find<QLabel>("lblTesto")->text().contains(QStringLiteral("vigenere.txt")));
    // What the message line said was about the old text.
    QVERIFY(!Find<QLabel>("lblAnnuncio")->text().contains(QStringLiteral("Spostamento 7")));
    QCOMPARE(Bench(), bench);
    QCOMPARE(Find<QSpinBox>("spnSpostamento")->value(), 0);
    QCOMPARE(Find<QLineEdit>("txtChiaveSostituzione")->text(), QString(26, QLatin1Char('.')));
    ShowPage("vigenere");
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
    ShowPage("sostituzione");
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
    ShowPage("vigenere");
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
    const QList<std::pair<const char*, QStringList>> expected{
        {"identificazione", {"txtVerdetto"}},
        {"cesare", {"spnSpostamento", "cmdMigliorSpostamento", "tblSpostamenti"}},
        {"affine",
         {"spnMoltiplicatore", "spnSpostamentoAffine", "cmdMigliorChiaveAffine", "cmdAtbash",
          "tblChiaviAffini"}},
        {"sostituzione", {"grdChiave", "txtChiaveSostituzione", "cmdProponi", "cmdAzzera"}},
        {"vigenere",
         {"spnPeriodo", "cmdTrovaPeriodo", "txtParolaChiave", "cmdMigliorChiave", "spnColonna",
          "spnSpostamentoColonna", "txtParolaProbabile", "tblParolaProbabile", "tblPeriodi",
          "tblRipetizioni"}},
        {"beaufort", {"cboVerso", "spnPeriodoBeaufort", "txtParolaProbabileBeaufort"}},
        {"autochiave", {"txtChiaveIniziale", "cmdMigliorChiaveAutochiave"}}};
    for (const auto& [page, names] : expected) {
        ShowPage(page);
        bench->activateWindow();
        Find<QComboBox>("cboLingua")->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), Find<QComboBox>("cboLingua"));
        QStringList reached;
        for (int step = 0; step < 80; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget()->objectName();
        }
        for (const QString& name :
             names + QStringList{"qt_tabwidget_tabbar", "txtChiaro", "cmdCopiaTesto",
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
    ShowPage("cesare");
    Find<QSpinBox>("spnSpostamento")->setValue(3);
    ShowPage("sostituzione");
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
    ShowPage("cesare");
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
    ShowPage("vigenere");
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
    ShowPage("vigenere");
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

void TestFDecifra::undoAndRedoWalkEachPagesKeys() {
    Analyse(files_.Write(QStringLiteral("testo.txt"), "Uryyb, jbeyq!"));
    OpenWorkbench();
    ShowPage("cesare");
    auto* shift = Find<QSpinBox>("spnSpostamento");
    for (const int value : {3, 5, 13}) {
        shift->setValue(value);
    }
    ShowPage("sostituzione");
    Type(Find<QLineEdit>("txtChiaveSostituzione"), QStringLiteral("b"));
    const QString substitution = Bench()->KeyText();
    ShowPage("cesare");
    QVERIFY(QTest::qWaitForWindowExposed(Bench()));
    Bench()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Bench()));
    shift->setFocus();
    // Each page walks back through its own changes only, down to the empty key and no further.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(shift->value(), 5);
    Click("cmdAnnullaModifica");
    QCOMPARE(shift->value(), 3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(shift->value(), 0);
    QCOMPARE(Plain(), QStringLiteral("Uryyb, jbeyq!"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(shift->value(), 3);
    Click("cmdRipeti");
    QCOMPARE(shift->value(), 5);
    // A new change drops what was undone after it.
    shift->setValue(1);
    Click("cmdRipeti");
    QCOMPARE(shift->value(), 1);
    QVERIFY(!Find<QPushButton>("cmdRipeti")->isEnabled());
    ShowPage("sostituzione");
    QCOMPARE(Bench()->KeyText(), substitution);
    // The shift that reads the text: undoing it is as good as typing it again.
    ShowPage("cesare");
    shift->setValue(13);
    QCOMPARE(Plain(), QStringLiteral("Hello, world!"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z,
                    Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Plain(), QStringLiteral("Hello, world!"));
}

void TestFDecifra::enciphersWithThePagesKey_data() {
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("cipher");
    QTest::newRow("as written") << QByteArray("Ciao, città!") << 0
                                << QStringLiteral("Fldr, flwwà!");
    QTest::newRow("groups of five")
        << QByteArray("Ciao, città!") << 1 << QStringLiteral("FLDRF LWW");
    // Ten groups a line: the 51st letter starts the second line.
    QTest::newRow("ten groups a line")
        << QByteArray(51, 'a') << 1
        << (QStringList(10, QStringLiteral("DDDDD")).join(QLatin1Char(' ')) +
            QStringLiteral("\nD"));
    // Accented letters are not among the 26: the groups leave them out, as the counts do.
    QTest::newRow("accents left out") << QByteArray("L'età è già") << 1 << QStringLiteral("OHWJL");
}

void TestFDecifra::enciphersWithThePagesKey() {
    QFETCH(QByteArray, plain);
    QFETCH(int, form);
    QFETCH(QString, cipher);
    Analyse(files_.Write(QStringLiteral("chiaro.txt"), plain));
    OpenWorkbench();
    QVERIFY(QTest::qWaitForWindowExposed(Bench()));
    Bench()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Bench()));
    ShowPage("cesare");
    Find<QSpinBox>("spnSpostamento")->setFocus();
    Find<QSpinBox>("spnSpostamento")->setValue(3);
    auto* enciphering = Find<QCheckBox>("chkCifra");
    QVERIFY(!Find<QComboBox>("cboFormato")->isVisibleTo(Bench()));
    enciphering->setChecked(true);
    QVERIFY(Find<QComboBox>("cboFormato")->isVisibleTo(Bench()));
    Find<QComboBox>("cboFormato")->setCurrentIndex(form);
    // The shift the teacher chose turns a into d: no inverse key to work out by hand.
    QCOMPARE(Plain(), cipher);
    QCOMPARE(Find<TextPane>("txtChiaro")->accessibleName(), QStringLiteral("Testo cifrato"));
    QCOMPARE(Find<QPushButton>("cmdCopiaTesto")->text(), QStringLiteral("Copia"));
    if (!cipher.isEmpty()) {
        Click("cmdCopiaTesto");
        QCOMPARE(QGuiApplication::clipboard()->text(), cipher);
    }
    // A random key of the chosen length changes the page's key, and undo takes it back.
    // (a draw may give the same shift again, which is no change of key)
    for (int draw = 0; draw < 20 && Find<QSpinBox>("spnSpostamento")->value() == 3; ++draw) {
        Click("cmdChiaveCasuale");
    }
    QVERIFY(Find<QSpinBox>("spnSpostamento")->value() != 3);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Find<QSpinBox>("spnSpostamento")->value(), 3);
    enciphering->setChecked(false);
    QCOMPARE(Find<TextPane>("txtChiaro")->accessibleName(), QStringLiteral("Testo in chiaro"));
    QCOMPARE(Find<QPushButton>("cmdCopiaTesto")->text(), QStringLiteral("Copia &testo in chiaro"));
}

void TestFDecifra::copiesTheChartAtTwiceTheDensity() {
    Analyse(files_.Write(QStringLiteral("testo.txt"), "Uryyb, jbeyq!"));
    OpenWorkbench();
    QGuiApplication::clipboard()->clear();
    Click("cmdCopiaGrafico");
    const QImage chart = QGuiApplication::clipboard()->image();
    QVERIFY(!chart.isNull());
    const QSize bars = Find<LetterBars>("barsTesto")->size();
    // Twice the screen's density: at least twice as wide as the bars on screen.
    QVERIFY2(chart.width() >= 2 * bars.width() * 0.9,
             qPrintable(QStringLiteral("%1 %2").arg(chart.width()).arg(bars.width())));
    // Red bars on white.
    bool red = false;
    for (int x = 0; x < chart.width() && !red; ++x) {
        for (int y = 0; y < chart.height() && !red; ++y) {
            const QColor colour = chart.pixelColor(x, y);
            red = colour.red() > 200 && colour.green() < 60 && colour.blue() < 60;
        }
    }
    QVERIFY(red);
}

void TestFDecifra::everyPageHasItsOwnPartOfTheGuide() {
    Analyse(files_.Write(QStringLiteral("testo.txt"), "Uryyb, jbeyq!"));
    OpenWorkbench();
    auto* tabs = Find<QTabWidget>("tabModi");
    QSet<QString> topics;
    for (int index = 0; index < tabs->count(); ++index) {
        tabs->setCurrentIndex(index);
        const QString topic = GuideOpener::TopicFor(Bench());
        QVERIFY2(topic.startsWith(QLatin1String("decifra#")), qPrintable(tabs->tabText(index)));
        topics.insert(topic);
    }
    QCOMPARE(topics.size(), tabs->count());
}

QTEST_MAIN(TestFDecifra)
#include "tst_fdecifra.moc"
