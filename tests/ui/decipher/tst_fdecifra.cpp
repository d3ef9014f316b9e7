#include "app_fonts.h"
#include "cipher_texts.h"
#include "fake_services.h"
#include "fdecifra.h"
#include "fmain.h"
#include "key_slots.h"
#include "report_menu.h"
#include "temp_files.h"
#include "text_source.h"
#include "workbench.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

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
    void saysSoWhenTheFileChangedSinceTheAnalysis();
    void showsATextThatIsNotUtf8AsWindows1252();

private:
    void Analyse(const QString& path) {
        fakes_->dialog.names.enqueue(path);
        fakes_->AndWait([this] { window_->cmdBrowse_Click(); });
    }
    void OpenWorkbench() {
        fakes_->AndWait(
            [this] { window_->findChild<QAction*>(QStringLiteral("actDecifra"))->trigger(); });
    }
    template <typename T> T* Find(const char* name) const {
        return workbench_->workbench()->findChild<T*>(QLatin1String(name));
    }
    void Click(const char* name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
    QString Plain() const { return workbench_->workbench()->PlainText(); }
    // Replaces the line's text as typing does, a character at a time, any character.
    static void Type(QLineEdit* line, const QString& text) {
        line->selectAll();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(line, &press);
        }
    }

    TempFiles files_;
    FakeServices* fakes_ = nullptr;
    FMain* window_ = nullptr;
    Workbench* workbench_ = nullptr;
};

void TestFDecifra::init() {
    fakes_ = new FakeServices;
    window_ = new FMain(fakes_->services, fakes_->counter);
    auto* menu = new ReportMenu(*window_, fakes_->services, fakes_->counter);
    workbench_ = new Workbench(*window_, *menu, fakes_->services, fakes_->counter);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void TestFDecifra::cleanup() {
    delete window_;
    delete fakes_;
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
    FDecifra* bench = workbench_->workbench();
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

    // A new analysis moves the open workbench to the new text, with an empty key.
    Analyse(files_.Write(QStringLiteral("vigenere.txt"), Encrypt(plain, "chiave")));
    QTRY_VERIFY(Find<QLabel>("lblTesto")->text().contains(QStringLiteral("vigenere.txt")));
    QCOMPARE(workbench_->workbench(), bench);
    QCOMPARE(Find<QSpinBox>("spnSpostamento")->value(), 0);
    QCOMPARE(Find<QLineEdit>("txtChiaveSostituzione")->text(), QString(26, QLatin1Char('.')));
    Find<QTabWidget>("tabModi")->setCurrentIndex(2);
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
    fakes_->AndWait(
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

    // A new text without letters leaves nothing to decipher: the workbench goes.
    Analyse(files_.Write(QStringLiteral("cifre.txt"), "1234"));
    QTRY_VERIFY(workbench_->workbench() == nullptr);
}

void TestFDecifra::everyControlIsReachedWithTheKeyboard() {
    Analyse(files_.Write(QStringLiteral("testo.txt"), "Uryyb, jbeyq!"));
    OpenWorkbench();
    FDecifra* bench = workbench_->workbench();
    bench->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(bench));
    const QList<QStringList> expected{
        {"spnSpostamento", "cmdMigliorSpostamento", "tblSpostamenti"},
        {"grdChiave", "txtChiaveSostituzione", "cmdProponi", "cmdAzzera"},
        {"spnPeriodo", "cmdTrovaPeriodo", "txtParolaChiave", "cmdMigliorChiave", "spnColonna",
         "spnSpostamentoColonna", "tblPeriodi", "tblRipetizioni"}};
    for (int page = 0; page < 3; ++page) {
        Find<QTabWidget>("tabModi")->setCurrentIndex(page);
        Find<QComboBox>("cboLingua")->setFocus();
        QStringList reached;
        for (int step = 0; step < 40; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << QApplication::focusWidget()->objectName();
        }
        for (const QString& name :
             expected[page] + QStringList{"qt_tabwidget_tabbar", "txtChiaro", "cmdCopiaTesto",
                                          "cmdCopiaChiave"}) {
            QVERIFY2(reached.contains(name), qPrintable(name));
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

void TestFDecifra::saysSoWhenTheFileChangedSinceTheAnalysis() {
    const QString path = files_.Write(QStringLiteral("testo.txt"), "abc");
    Analyse(path);
    files_.Write(QStringLiteral("testo.txt"), "abcd");
    OpenWorkbench();
    QCOMPARE(workbench_->workbench(), nullptr);
    QCOMPARE(fakes_->messages.texts.size(), 1);
    QVERIFY(fakes_->messages.texts.front().contains(QStringLiteral("è cambiato")));
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
