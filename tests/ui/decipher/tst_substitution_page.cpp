#include "background_job.h"
#include "cryptogram_view.h"
#include "fake_services.h"
#include "key_mapping.h"
#include "key_slots.h"
#include "page_fixture.h"
#include "substitution_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace tallivo;

namespace {

// Written for these tests: 308 letters, 20 of them different, with word spaces.
const char kPlain[] =
    "la sera scendeva lenta sulla piccola citta e le strade si svuotavano mentre il vento "
    "portava dal mare un odore di sale e di pioggia. nella casa in fondo alla via una ragazza "
    "studiava un vecchio messaggio cifrato che il nonno aveva nascosto in un libro di poesie. "
    "ogni lettera era stata sostituita da un'altra, ma le parole brevi come il, la, che e di "
    "restavano facili da riconoscere.";

// The key the tests' ciphertext was made with: the plaintext letter of each cipher letter.
SubstitutionKey TrueKey() {
    std::mt19937_64 random(20261209);
    return SubstitutionKey::Random(random);
}

int CipherOf(char plain) {
    return TrueKey().Inverse().PlainOf(plain - 'a');
}

// The plaintext enciphered; without spaces, its letters alone.
std::string Ciphertext(bool spaces) {
    std::string cipher;
    MapBytes(kPlain, SubstitutionTable(TrueKey().Inverse(), 1), cipher);
    if (!spaces) {
        std::erase_if(cipher,
                      [](char c) { return LetterIndex(static_cast<unsigned char>(c)) < 0; });
    }
    return cipher;
}

// Where the n-th occurrence of word starts among the plaintext's letters.
std::size_t LetterOfWord(const std::string& word) {
    const std::string text(kPlain);
    const std::size_t at = text.find(' ' + word + ' ') + 1;
    return std::size_t(std::count_if(text.begin(), text.begin() + std::ptrdiff_t(at), [](char c) {
        return LetterIndex(static_cast<unsigned char>(c)) >= 0;
    }));
}

// The page on the tests' ciphertext, in Italian.
struct Bench {
    explicit Bench(bool spaces = true)
        : cipher(Ciphertext(spaces)) {
        GiveText(page, cipher);
    }
    template <typename T> T* Find(const char* name) {
        return Control<T>(page, QLatin1String(name));
    }
    SubstitutionKey Key() const { return *SubstitutionKey::FromText(page.KeyText().toStdString()); }
    // Whether every letter of the text deciphers as the plaintext has it.
    bool Solved() const {
        std::string plain;
        MapBytes(cipher, SubstitutionTable(Key(), '?'), plain);
        std::string expected(kPlain);
        std::erase_if(expected,
                      [](char c) { return LetterIndex(static_cast<unsigned char>(c)) < 0; });
        std::erase_if(plain, [](char c) {
            return LetterIndex(static_cast<unsigned char>(c)) < 0 && c != '?';
        });
        return plain == expected;
    }
    // Assigns plain to cipher and locks it.
    void LockAssigned(int cipher, char plain) {
        Find<KeySlots>("grdChiave")->setCurrentCell(0, cipher);
        SubstitutionKey key = Key();
        key.Assign(cipher, plain - 'a');
        QVERIFY(!page.SetKeyText(QString::fromStdString(key.Text())));
        Find<QPushButton>("cmdBlocca")->click();
        QVERIFY(page.Locks()[std::size_t(cipher)]);
    }
    // Clicks a button whose work runs on the worker and waits for what it announces.
    void RunAid(const char* button) {
        QSignalSpy announced(&page, &CipherPage::announce);
        Find<QPushButton>(button)->click();
        QVERIFY(announced.wait(120000));
    }
    // Picks the row of list that starts with text, as Enter does.
    bool Pick(const char* list, const QString& text) {
        auto* widget = Find<QListWidget>(list);
        for (int row = 0; row < widget->count(); ++row) {
            if (widget->item(row)->text().startsWith(text)) {
                widget->setCurrentRow(row);
                QTest::keyClick(widget, Qt::Key_Return);
                return true;
            }
        }
        return false;
    }

    RecordingMessages messages;
    SubstitutionPage page{PageContext{messages}};
    std::string cipher;
};

} // namespace

class TestSubstitutionPage : public QObject {
    Q_OBJECT

private slots:
    void theSlotsAreNeverScrolled_data();
    void theSlotsAreNeverScrolled();
    void completesFromAnEmptyKey();
    void locksSurviveEveryAid_data();
    void locksSurviveEveryAid();
    void stateKeepsTheLocks_data();
    void stateKeepsTheLocks();
    void patternPicksAssignConsistently_data();
    void patternPicksAssignConsistently();
    void probableWordFitsOrSaysWhy_data();
    void probableWordFitsOrSaysWhy();
    void proposalAsksBeforeReplacing_data();
    void proposalAsksBeforeReplacing();
    void solvesStepByStep_data();
    void solvesStepByStep();
    void typingInTheCryptogramAssigns_data();
    void typingInTheCryptogramAssigns();
    void swapsInOneStep_data();
    void swapsInOneStep();
};

void TestSubstitutionPage::completesFromAnEmptyKey() {
    Bench bench;
    QSignalSpy changed(&bench.page, &CipherPage::keyChanged);
    bench.RunAid("cmdCompleta");
    QVERIFY2(bench.Solved(), qPrintable(bench.page.KeyText()));
    QCOMPARE(changed.count(), 1); // one step for undo
    QVERIFY(bench.Find<QLabel>("lblAiuto")->text().contains(QStringLiteral("punteggio")));
}

void TestSubstitutionPage::locksSurviveEveryAid_data() {
    QTest::addColumn<QString>("aid");
    QTest::addColumn<int>("answer"); // to the question of a proposal
    QTest::newRow("Completa") << "cmdCompleta" << -1;
    QTest::newRow("Proponi, sostituisci") << "cmdProponi" << 0;
    QTest::newRow("Proponi, solo le libere") << "cmdProponi" << 1;
    QTest::newRow("Suggerisci e Applica") << "cmdSuggerisci" << -1;
}

void TestSubstitutionPage::locksSurviveEveryAid() {
    QFETCH(QString, aid);
    QFETCH(int, answer);
    Bench bench;
    // Two wrong assignments, locked: the commonest letters given each other's plaintext.
    const int e = CipherOf('e');
    const int a = CipherOf('a');
    bench.LockAssigned(e, 'a');
    bench.LockAssigned(a, 'e');
    // And one made but not locked, which a proposal asks before replacing.
    SubstitutionKey key = bench.Key();
    key.Assign(CipherOf('z'), 'k' - 'a');
    bench.page.SetKeyText(QString::fromStdString(key.Text()));
    bench.messages.answers.enqueue(answer);
    const QByteArray name = aid.toLatin1();
    if (aid == QLatin1String("cmdProponi")) {
        bench.Find<QPushButton>(name.constData())->click();
        QCOMPARE(bench.messages.questions.size(), 1);
    } else {
        bench.RunAid(name.constData());
    }
    if (aid == QLatin1String("cmdSuggerisci")) {
        QVERIFY(bench.Find<QPushButton>("cmdApplica")->isEnabled());
        QTest::keyClick(bench.Find<QPushButton>("cmdApplica"), Qt::Key_Return);
    }
    QCOMPARE(bench.Key().PlainOf(e), 'a' - 'a');
    QCOMPARE(bench.Key().PlainOf(a), 'e' - 'a');
    QVERIFY(bench.page.Locks()[std::size_t(e)] && bench.page.Locks()[std::size_t(a)]);
    // No other letter took a locked plaintext letter.
    QVERIFY(!bench.Key().Repeated()[std::size_t(e)]);
    QVERIFY(!bench.Key().Repeated()[std::size_t(a)]);
}

void TestSubstitutionPage::stateKeepsTheLocks_data() {
    QTest::addColumn<QString>("locked"); // plaintext letters assigned truly and locked
    QTest::newRow("nessuna") << "";
    QTest::newRow("una") << "e";
    QTest::newRow("tre") << "zea";
}

void TestSubstitutionPage::stateKeepsTheLocks() {
    QFETCH(QString, locked);
    Bench bench;
    for (const QChar c : locked) {
        bench.LockAssigned(CipherOf(char(c.unicode())), char(c.unicode()));
    }
    const QString state = bench.page.State();
    const LetterLocks locks = bench.page.Locks();
    // Another page, another key: the state brings back key and locks alike.
    Bench other;
    std::mt19937_64 random(5);
    other.page.RandomKey(random, {});
    QSignalSpy changed(&other.page, &CipherPage::keyChanged);
    other.page.RestoreState(state);
    QCOMPARE(other.page.KeyText(), bench.page.KeyText());
    QCOMPARE(other.page.Locks(), locks);
    QCOMPARE(other.page.State(), state);
    QCOMPARE(changed.count(), 1);
    // A lock alone, from the keyboard on the chosen slot, changes the state: undo takes it back.
    if (!locked.isEmpty()) {
        other.page.show();
        other.page.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other.page));
        auto* keySlots = other.Find<KeySlots>("grdChiave");
        keySlots->setFocus();
        keySlots->setCurrentCell(0, CipherOf(char(locked[0].unicode())));
        QTest::keyClick(keySlots, Qt::Key_L, Qt::ControlModifier);
        QVERIFY(!other.page.Locks()[std::size_t(CipherOf(char(locked[0].unicode())))]);
        QVERIFY(other.page.State() != state);
        QCOMPARE(other.page.KeyText(), bench.page.KeyText());
        QCOMPARE(changed.count(), 2);
    }
    // A state that is not one leaves the page as it is.
    other.page.RestoreState(QStringLiteral("abc|d"));
    QCOMPARE(other.page.KeyText(), bench.page.KeyText());
}

void TestSubstitutionPage::patternPicksAssignConsistently_data() {
    QTest::addColumn<QString>("word");       // a word of the plaintext
    QTest::addColumn<bool>("fromView");      // chosen with the caret, else typed
    QTest::addColumn<QString>("wrongFirst"); // a wrong assignment of its first letter first
    QTest::addColumn<bool>("onlyLocked");
    QTest::addColumn<bool>("listed");
    QTest::newRow("che, dal crittogramma") << "che" << true << "" << false << true;
    QTest::newRow("messaggio, scritta") << "messaggio" << false << "" << false << true;
    QTest::newRow("nella, contro la chiave") << "nella" << true << "x" << false << false;
    QTest::newRow("nella, solo le bloccate") << "nella" << true << "x" << true << true;
}

void TestSubstitutionPage::patternPicksAssignConsistently() {
    QFETCH(QString, word);
    QFETCH(bool, fromView);
    QFETCH(QString, wrongFirst);
    QFETCH(bool, onlyLocked);
    QFETCH(bool, listed);
    Bench bench;
    if (!wrongFirst.isEmpty()) {
        SubstitutionKey key;
        key.Assign(CipherOf(char(word[0].unicode())), wrongFirst[0].unicode() - u'a');
        bench.page.SetKeyText(QString::fromStdString(key.Text()));
    }
    bench.Find<QCheckBox>("chkSoloBloccate")->setChecked(onlyLocked);
    QString cipherWord;
    for (const QChar c : word) {
        cipherWord += QChar(char16_t(u'A' + CipherOf(char(c.unicode()))));
    }
    if (fromView) {
        auto* view = bench.Find<CryptogramView>("viewCrittogramma");
        view->SetCaret(view->OffsetOfLetter(LetterOfWord(word.toStdString())) + 1);
        QCOMPARE(bench.Find<QLineEdit>("txtParolaCifrata")->text(), cipherWord);
    } else {
        QTest::keyClicks(bench.Find<QLineEdit>("txtParolaCifrata"), cipherWord.toLower());
    }
    QSignalSpy changed(&bench.page, &CipherPage::keyChanged);
    QCOMPARE(bench.Pick("lstSchemi", word + QStringLiteral(" (")), listed);
    if (!listed) {
        QVERIFY(!bench.Find<QLabel>("lblSchemi")->text().isEmpty());
        return;
    }
    QCOMPARE(changed.count(), 1);
    for (const QChar c : word) {
        QCOMPARE(bench.Key().PlainOf(CipherOf(char(c.unicode()))), c.unicode() - u'a');
    }
    for (const bool twice : bench.Key().Repeated()) {
        QVERIFY(!twice);
    }
}

void TestSubstitutionPage::probableWordFitsOrSaysWhy_data() {
    QTest::addColumn<bool>("spaces");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("wrongLock"); // a wrong locked assignment of the word's first letter
    QTest::addColumn<QString>("said");      // in the message under the list
    QTest::addColumn<bool>("trueFits");     // the word's own place is listed
    QTest::newRow("con spazi") << true << "messaggio"
                               << ""
                               << "può stare" << true;
    QTest::newRow("senza spazi") << false << "messaggio"
                                 << ""
                                 << "può stare" << true;
    QTest::newRow("senza spazi, corta") << false << "che"
                                        << ""
                                        << "può stare" << true;
    QTest::newRow("contro una bloccata") << true << "messaggio"
                                         << "q"
                                         << "" << false;
    QTest::newRow("accento") << true << "città"
                             << ""
                             << "non sono lettere" << false;
    QTest::newRow("spazio dentro") << false << "la sera"
                                   << ""
                                   << "non sono lettere" << false;
    QTest::newRow("più lunga del testo") << true << QString(400, QLatin1Char('a')) << ""
                                         << "più delle" << false;
    QTest::newRow("nessuno schema, spazi") << true << "aaaa"
                                           << ""
                                           << "Nessuna parola" << false;
    QTest::newRow("nessuno schema, senza") << false << "zzzzz"
                                           << ""
                                           << "In nessun punto" << false;
}

void TestSubstitutionPage::probableWordFitsOrSaysWhy() {
    QFETCH(bool, spaces);
    QFETCH(QString, word);
    QFETCH(QString, wrongLock);
    QFETCH(QString, said);
    QFETCH(bool, trueFits);
    Bench bench(spaces);
    if (!wrongLock.isEmpty()) {
        bench.LockAssigned(CipherOf(char(word[0].unicode())), char(wrongLock[0].unicode()));
    }
    const QString before = bench.page.State();
    QSignalSpy changed(&bench.page, &CipherPage::keyChanged);
    TypeKeys(bench.Find<QLineEdit>("txtParolaProbabile"), word);
    QVERIFY2(bench.Find<QLabel>("lblParola")->text().contains(said),
             qPrintable(bench.Find<QLabel>("lblParola")->text()));
    QCOMPARE(bench.page.State(), before); // typing alone changes nothing
    const QString place = QStringLiteral("lettera %1:").arg(LetterOfWord(word.toStdString()) + 1);
    QCOMPARE(bench.Pick("lstPosizioni", place), trueFits);
    if (!trueFits) {
        QCOMPARE(bench.page.State(), before);
        QCOMPARE(changed.count(), 0);
        return;
    }
    QCOMPARE(changed.count(), 1);
    for (const QChar c : word) {
        QCOMPARE(bench.Key().PlainOf(CipherOf(char(c.unicode()))), c.unicode() - u'a');
    }
}

void TestSubstitutionPage::proposalAsksBeforeReplacing_data() {
    QTest::addColumn<bool>("assignFirst");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("kept");   // the assignment made first stays
    QTest::addColumn<bool>("filled"); // every letter of the text gets one
    QTest::newRow("chiave vuota: nessuna domanda") << false << -1 << 0 << false << true;
    QTest::newRow("sostituisci") << true << 0 << 1 << false << true;
    QTest::newRow("solo le libere") << true << 1 << 1 << true << true;
    QTest::newRow("annulla") << true << 2 << 1 << true << false;
    QTest::newRow("chiusa senza risposta") << true << -1 << 1 << true << false;
}

void TestSubstitutionPage::proposalAsksBeforeReplacing() {
    QFETCH(bool, assignFirst);
    QFETCH(int, answer);
    QFETCH(int, questions);
    QFETCH(bool, kept);
    QFETCH(bool, filled);
    Bench bench;
    // The commonest cipher letter given a rare plaintext letter, which no proposal gives it.
    const int e = CipherOf('e');
    if (assignFirst) {
        SubstitutionKey key;
        key.Assign(e, 'q' - 'a');
        bench.page.SetKeyText(QString::fromStdString(key.Text()));
    }
    bench.messages.answers.enqueue(answer);
    bench.Find<QPushButton>("cmdProponi")->click();
    QCOMPARE(bench.messages.questions.size(), questions);
    if (questions > 0) {
        QCOMPARE(bench.messages.answersOffered.front().size(), 3);
    }
    QCOMPARE(bench.Key().PlainOf(e) == 'q' - 'a', kept);
    bool everyLetter = true;
    for (const char c : bench.cipher) {
        const int letter = LetterIndex(static_cast<unsigned char>(c));
        everyLetter = everyLetter && (letter < 0 || bench.Key().PlainOf(letter) >= 0);
    }
    QCOMPARE(everyLetter, filled);
}

void TestSubstitutionPage::solvesStepByStep_data() {
    QTest::addColumn<QString>("probable");     // a probable word placed first, at its place
    QTest::addColumn<bool>("lockIt");          // and its letters locked, a step each
    QTest::addColumn<QStringList>("patterns"); // words of the text then picked by their pattern
    QTest::newRow("solo Suggerisci") << "" << false << QStringList{};
    QTest::newRow("parola probabile bloccata") << "messaggio" << true << QStringList{};
    QTest::newRow("parola probabile e schemi")
        << "messaggio" << false << QStringList{"che", "nella", "vento"};
}

void TestSubstitutionPage::solvesStepByStep() {
    QFETCH(QString, probable);
    QFETCH(bool, lockIt);
    QFETCH(QStringList, patterns);
    Bench bench;
    int steps = 0;
    if (!probable.isEmpty()) {
        TypeKeys(bench.Find<QLineEdit>("txtParolaProbabile"), probable);
        QVERIFY(bench.Pick(
            "lstPosizioni",
            QStringLiteral("lettera %1:").arg(LetterOfWord(probable.toStdString()) + 1)));
        ++steps;
        for (const QChar c : probable) {
            const int cipher = CipherOf(char(c.unicode()));
            if (lockIt && !bench.page.Locks()[std::size_t(cipher)]) {
                bench.LockAssigned(cipher, char(c.unicode()));
                ++steps;
            }
        }
    }
    for (const QString& word : patterns) {
        auto* view = bench.Find<CryptogramView>("viewCrittogramma");
        view->SetCaret(view->OffsetOfLetter(LetterOfWord(word.toStdString())));
        QVERIFY2(bench.Pick("lstSchemi", word + QStringLiteral(" (")), qPrintable(word));
        ++steps;
    }
    auto* apply = bench.Find<QPushButton>("cmdApplica");
    int hints = 0;
    while (!bench.Solved() && hints < 40) {
        bench.RunAid("cmdSuggerisci");
        QVERIFY2(apply->isEnabled(), qPrintable(bench.Find<QLabel>("lblAiuto")->text()));
        QTest::keyClick(apply, Qt::Key_Return);
        ++hints;
    }
    qInfo("%s: %d passi, %d dei quali suggerimenti", QTest::currentDataTag(), steps + hints, hints);
    QVERIFY(bench.Solved());
    // Each hint gives a letter its right plaintext for good: the text has 20 letters.
    QVERIFY(hints <= 20);
}

void TestSubstitutionPage::typingInTheCryptogramAssigns_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("locked"); // the letter under the caret is locked first
    QTest::addColumn<int>("plain");   // what the letter under the caret has after (-1 none)
    QTest::addColumn<bool>("moved");  // the caret went on to the next letter
    QTest::newRow("lettera") << "e" << false << int('e' - 'a') << true;
    QTest::newRow("maiuscola") << "E" << false << int('e' - 'a') << true;
    QTest::newRow("punto") << "." << false << -1 << false;
    QTest::newRow("cifra") << "7" << false << int('s' - 'a') << false;
    QTest::newRow("bloccata") << "e" << true << int('s' - 'a') << false;
}

void TestSubstitutionPage::typingInTheCryptogramAssigns() {
    QFETCH(QString, typed);
    QFETCH(bool, locked);
    QFETCH(int, plain);
    QFETCH(bool, moved);
    Bench bench;
    // The caret on the "s" of "sera", which has an "s" already.
    const int s = CipherOf('s');
    if (locked) {
        bench.LockAssigned(s, 's');
    } else {
        SubstitutionKey key;
        key.Assign(s, 's' - 'a');
        bench.page.SetKeyText(QString::fromStdString(key.Text()));
    }
    auto* view = bench.Find<CryptogramView>("viewCrittogramma");
    const qsizetype at = view->OffsetOfLetter(2);
    view->SetCaret(at);
    QCOMPARE(bench.Find<KeySlots>("grdChiave")->currentColumn(), s); // its slot is chosen
    QVERIFY(
        view->accessibleDescription().contains(QStringLiteral("Lettera %1").arg(QChar(u'A' + s))));
    QTest::keyClicks(view, typed);
    QCOMPARE(bench.Key().PlainOf(s), plain);
    QCOMPARE(view->caret(), moved ? at + 1 : at);
    // The letter "e" went to one cipher letter alone.
    QVERIFY(!bench.Key().Repeated()[std::size_t(s)]);
}

void TestSubstitutionPage::swapsInOneStep_data() {
    QTest::addColumn<QString>("first"); // plaintext letters whose cipher letters are swapped
    QTest::addColumn<QString>("second");
    QTest::addColumn<bool>("lockSecond");
    QTest::addColumn<bool>("swapped");
    QTest::newRow("due assegnate") << "e"
                                   << "a" << false << true;
    QTest::newRow("con una libera") << "e"
                                    << "" << false << true;
    QTest::newRow("una bloccata") << "e"
                                  << "a" << true << false;
    QTest::newRow("la stessa") << "e"
                               << "e" << false << false;
}

void TestSubstitutionPage::swapsInOneStep() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(bool, lockSecond);
    QFETCH(bool, swapped);
    Bench bench;
    const int one = CipherOf(char(first[0].unicode()));
    // A letter the text never has stands for "a free one".
    const int other = second.isEmpty() ? CipherOf('w') : CipherOf(char(second[0].unicode()));
    SubstitutionKey key;
    key.Assign(one, 'a' - 'a');
    if (!second.isEmpty()) {
        key.Assign(other, 'e' - 'a');
    }
    bench.page.SetKeyText(QString::fromStdString(key.Text()));
    if (lockSecond) {
        bench.LockAssigned(other, 'e');
    }
    const SubstitutionKey before = bench.Key();
    bench.Find<KeySlots>("grdChiave")->setCurrentCell(0, one);
    bench.Find<QComboBox>("cboScambiaCon")->setCurrentIndex(other);
    QSignalSpy changed(&bench.page, &CipherPage::keyChanged);
    bench.Find<QPushButton>("cmdScambia")->click();
    QCOMPARE(changed.count(), swapped ? 1 : 0);
    QCOMPARE(bench.Key().PlainOf(one), swapped ? before.PlainOf(other) : before.PlainOf(one));
    QCOMPARE(bench.Key().PlainOf(other), swapped ? before.PlainOf(one) : before.PlainOf(other));
    QCOMPARE(bench.Find<QLabel>("lblSuggerimento")->text().isEmpty(), swapped);
}

void TestSubstitutionPage::theSlotsAreNeverScrolled_data() {
    QTest::addColumn<int>("pixels"); // the font's size
    QTest::newRow("usual font") << 13;
    QTest::newRow("large desktop font") << 19;
    QTest::newRow("projector") << 28;
}

void TestSubstitutionPage::theSlotsAreNeverScrolled() {
    QFETCH(int, pixels);
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* slotsTable = new KeySlots(&window);
    layout->addWidget(slotsTable);
    layout->addStretch(1);
    QFont font = slotsTable->font();
    font.setPixelSize(pixels);
    slotsTable->setFont(font);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // Laid out at its smallest, every one of the 26 slots is in view: none is scrolled away.
    window.resize(window.minimumSizeHint());
    QTRY_VERIFY(slotsTable->viewport()->width() >= slotsTable->horizontalHeader()->length());
    QCOMPARE(slotsTable->horizontalScrollBar()->maximum(), 0);
}

QTEST_MAIN(TestSubstitutionPage)
#include "tst_substitution_page.moc"
