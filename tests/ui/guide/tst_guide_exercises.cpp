// The guide's worked exercises, done as the guide tells the student: each sample ciphertext is
// sent by «Che cifrario è?» to the page the guide names and, there, with the controls it names,
// comes back to its plaintext in resources/texts/chiari.
#include "fake_services.h"
#include "letter_layout.h"
#include "page_fixture.h"
#include "page_registry.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

using namespace tallivo;

namespace {

std::string LowerLetters(const std::string& text) {
    std::string letters;
    for (const char c : text) {
        const int index = LetterIndex(static_cast<unsigned char>(c));
        if (index >= 0) {
            letters += char('a' + index);
        }
    }
    return letters;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = char(c - 'A' + 'a');
        }
    }
    return text;
}

} // namespace

class TestGuideExercises : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void theGuidesStepsLeadToThePlaintext_data();
    void theGuidesStepsLeadToThePlaintext();

private:
    // Does one step as the student would: "click cmd…", "type txt… text", "set spn… value",
    // "slot A k" (k under the cipher letter A), "lock A", "tick chk…", "word CIFRATA" (its
    // pattern), "pick lst… parola", "choose cbo… index".
    bool Do(CipherPage* page, const QString& step) {
        const QStringList words = step.split(QLatin1Char(' '));
        QSignalSpy changed(page, &CipherPage::keyChanged);
        if (words[0] == QLatin1String("click")) {
            auto* button = Control<QAbstractButton>(*page, words[1]);
            if (button == nullptr || !button->isEnabled()) {
                return false;
            }
            button->click();
        } else if (words[0] == QLatin1String("type")) {
            auto* line = Control<QLineEdit>(*page, words[1]);
            if (line == nullptr) {
                return false;
            }
            line->selectAll();
            QTest::keyClick(line, Qt::Key_Backspace);
            QTest::keyClicks(line, words[2]);
        } else if (words[0] == QLatin1String("set")) {
            auto* spin = Control<QSpinBox>(*page, words[1]);
            if (spin == nullptr) {
                return false;
            }
            spin->setValue(words[2].toInt());
        } else if (words[0] == QLatin1String("slot")) {
            // A letter typed into the box under a cipher letter.
            auto* boxes = page->findChild<QTableWidget*>(QStringLiteral("grdChiave"));
            if (boxes == nullptr) {
                return false;
            }
            boxes->setCurrentCell(0, words[1].front().unicode() - u'A');
            QTest::keyClicks(boxes, words[2]);
        } else if (words[0] == QLatin1String("lock")) {
            auto* boxes = page->findChild<QTableWidget*>(QStringLiteral("grdChiave"));
            auto* lock = page->findChild<QAbstractButton*>(QStringLiteral("cmdBlocca"));
            if (boxes == nullptr || lock == nullptr) {
                return false;
            }
            boxes->setCurrentCell(0, words[1].front().unicode() - u'A');
            lock->click();
        } else if (words[0] == QLatin1String("tick")) {
            auto* box = Control<QAbstractButton>(*page, words[1]);
            if (box == nullptr || !box->isCheckable()) {
                return false;
            }
            box->setChecked(true);
            return true; // the key stays as it was
        } else if (words[0] == QLatin1String("word")) {
            // The cipher word whose pattern is looked up.
            auto* line = Control<QLineEdit>(*page, QStringLiteral("txtParolaCifrata"));
            if (line == nullptr) {
                return false;
            }
            line->clear();
            QTest::keyClicks(line, words[1]);
            return true;
        } else if (words[0] == QLatin1String("pick")) {
            // Enter on the row of a list that starts with the word.
            auto* list = Control<QListWidget>(*page, words[1]);
            if (list == nullptr) {
                return false;
            }
            const auto found = list->findItems(words[2] + QLatin1Char(' '), Qt::MatchStartsWith);
            if (found.isEmpty()) {
                return false;
            }
            list->setCurrentItem(found.front());
            QTest::keyClick(list, Qt::Key_Return);
        } else if (words[0] == QLatin1String("choose")) {
            auto* box = Control<QComboBox>(*page, words[1]);
            if (box == nullptr) {
                return false;
            }
            box->setCurrentIndex(words[2].toInt());
            return true; // the key may stay as it was
        } else {
            return false;
        }
        // A search works beside the window: its key comes when it ends.
        return !changed.isEmpty() || changed.wait(60000);
    }

    RecordingMessages messages_;
    std::vector<CipherPage*> pages_;
};

void TestGuideExercises::init() {
    pages_ = CreateCipherPages(PageContext{messages_}, nullptr);
}

void TestGuideExercises::cleanup() {
    qDeleteAll(pages_);
    pages_.clear();
}

void TestGuideExercises::theGuidesStepsLeadToThePlaintext_data() {
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("verdict"); // the page «Che cifrario è?» opens on the sample; empty
                                          // where another row of the sample asks it
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("key");     // the key the page shows at the end
    QTest::addColumn<QString>("reading"); // "text": the whole text, case aside; "letters": the
                                          // letters alone; "playfair": the letters, as Playfair
                                          // prepares them
    QTest::newRow("Cesare") << "cesare"
                            << "cesare"
                            << "cesare" << QStringList{"click cmdMigliorSpostamento"} << "3"
                            << "text";
    QTest::newRow("sostituzione") << "sostituzione"
                                  << "sostituzione"
                                  << "sostituzione"
                                  << QStringList{"click cmdProponi", "click cmdCompleta",
                                                 "slot A k"}
                                  << QString() << "text";
    QTest::newRow("sostituzione, lettere bloccate e schema")
        << "sostituzione" << QString() << "sostituzione"
        << QStringList{"click cmdProponi",
                       "slot T e",
                       "slot S l",
                       "lock T",
                       "lock S",
                       "tick chkSoloBloccate",
                       "word STZZTKT",
                       "pick lstSchemi lettere",
                       "click cmdCompleta",
                       "slot A k"}
        << QString() << "text";
    QTest::newRow("sostituzione, la chiave incollata")
        << "sostituzione" << QString() << "sostituzione"
        << QStringList{"type txtChiaveSostituzione kxvmcnophqrszyijadlegwbuft"}
        << "kxvmcnophqrszyijadlegwbuft"
        << "text";
    QTest::newRow("affine") << "affine"
                            << "affine"
                            << "affine" << QStringList{"click cmdMigliorChiaveAffine"} << "5,8"
                            << "text";
    QTest::newRow("affine a mano")
        << "affine" << QString() << "affine"
        << QStringList{"set spnMoltiplicatore 5", "set spnSpostamentoAffine 8"} << "5,8"
        << "text";
    QTest::newRow("Vigenère") << "vigenere"
                              << "vigenere"
                              << "vigenere"
                              << QStringList{"click cmdTrovaPeriodo", "click cmdMigliorChiave"}
                              << "nuvola"
                              << "letters";
    // The verdict names the family, and its first page; the guide sends on to Beaufort.
    QTest::newRow("Beaufort") << "beaufort"
                              << "vigenere"
                              << "beaufort"
                              << QStringList{"choose cboVerso 0", "click cmdTrovaPeriodo",
                                             "click cmdMigliorChiave"}
                              << "vento"
                              << "letters";
    QTest::newRow("autochiave") << "autochiave"
                                << "autochiave"
                                << "autochiave" << QStringList{"click cmdMigliorChiaveAutochiave"}
                                << "roma"
                                << "letters";
    QTest::newRow("autochiave a mano") << "autochiave" << QString() << "autochiave"
                                       << QStringList{"type txtChiaveIniziale roma"} << "roma"
                                       << "letters";
    QTest::newRow("trasposizione")
        << "trasposizione"
        << "trasposizione"
        << "trasposizione" << QStringList{"click cmdMigliorChiaveTrasposizione"} << "3 2 1 5 4"
        << "letters";
    QTest::newRow("trasposizione, la parola chiave")
        << "trasposizione" << QString() << "trasposizione" << QStringList{"type txtOrdine libro"}
        << "3 2 1 5 4"
        << "letters";
    QTest::newRow("staccionata") << "staccionata"
                                 << "trasposizione"
                                 << "trasposizione"
                                 << QStringList{"click optStaccionata",
                                                "click cmdMigliorChiaveTrasposizione"}
                                 << "staccionata 3"
                                 << "letters";
    QTest::newRow("Playfair, la parola chiave")
        << "playfair"
        << "playfair"
        << "playfair" << QStringList{"type txtParolaPlayfair crittografia"}
        << "CRITOGAFBDEHKLMNPQSUVWXYZ"
        << "playfair";
    QTest::newRow("Playfair, Miglior chiave")
        << "playfair" << QString() << "playfair" << QStringList{"click cmdMigliorChiavePlayfair"}
        << QString() // the keyword's square, or one with its rows and columns turned round
        << "playfair";
}

void TestGuideExercises::theGuidesStepsLeadToThePlaintext() {
    QFETCH(QString, sample);
    QFETCH(QString, verdict);
    QFETCH(QString, page);
    QFETCH(QStringList, steps);
    QFETCH(QString, key);
    QFETCH(QString, reading);
    const std::string cipher =
        FileBytes(QStringLiteral(":/texts/esempi/%1.txt").arg(sample)).toStdString();
    const std::string plain =
        FileBytes(QStringLiteral(TALLIVO_TEXTS "/%1.txt").arg(sample)).toStdString();
    if (!verdict.isEmpty()) {
        // The guide starts every exercise on «Che cifrario è?»: its verdict opens the page.
        CipherPage* identification = PageNamed(pages_, QStringLiteral("identificazione"));
        GiveText(*identification, cipher, WithPeriods::Yes, sample);
        QVERIFY(VerdictShown(*identification));
        QSignalSpy requested(identification, &CipherPage::pageRequested);
        auto* open = Control<QAbstractButton>(*identification, QStringLiteral("cmdApriPagina"));
        QVERIFY(open != nullptr && open->isVisibleTo(identification));
        open->click();
        QCOMPARE(requested.size(), 1);
        QCOMPARE(requested[0][0].toString(), verdict);
    }
    CipherPage* shown = PageNamed(pages_, page);
    const std::shared_ptr<const CipherText> text =
        GiveText(*shown, cipher, WithPeriods::Yes, sample);
    for (const QString& step : steps) {
        QVERIFY2(Do(shown, step), qPrintable(step));
    }
    if (!key.isEmpty()) {
        QCOMPARE(shown->KeyText(), key);
    }
    const std::string deciphered = PlainBytes(*shown, *text);
    if (reading == QLatin1String("text")) {
        QCOMPARE(Lower(deciphered), Lower(plain));
    } else if (reading == QLatin1String("letters")) {
        // A columnar key fills its last row with X.
        std::string letters = LowerLetters(deciphered);
        while (letters.size() > LowerLetters(plain).size() && letters.back() == 'x') {
            letters.pop_back();
        }
        QCOMPARE(letters, LowerLetters(plain));
    } else {
        QCOMPARE(QString::fromStdString(LowerLetters(deciphered)),
                 PlayfairPrepared(plain).toLower());
    }
}

QTEST_MAIN(TestGuideExercises)
#include "tst_guide_exercises.moc"
