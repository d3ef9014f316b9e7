// The guide's worked exercises, done as the guide tells the student: each sample ciphertext,
// on the page the guide sends the student to, with the controls it names, comes back to its
// plaintext in resources/texts/chiari.
#include "cipher_page.h"
#include "cipher_text.h"
#include "fake_services.h"
#include "language_model.h"
#include "page_registry.h"
#include "reference_frequencies.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

using namespace tallivo;

namespace {

QByteArray Read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("cannot read %s", qPrintable(path));
    }
    return file.readAll();
}

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

// Whether a Playfair plaintext is the plaintext's letters, J written as I, with only an X (or
// a Q) put in between where the encipherer split two like letters or filled the last pair.
bool PlayfairReading(const std::string& shown, std::string plain) {
    for (char& c : plain) {
        c = c == 'j' ? 'i' : c;
    }
    std::size_t p = 0;
    for (const char c : shown) {
        if (p < plain.size() && c == plain[p]) {
            ++p;
        } else if (c != 'x' && c != 'q') {
            return false;
        }
    }
    return p == plain.size() && shown.size() - plain.size() <= plain.size() / 20 + 1;
}

} // namespace

class TestGuideExercises : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void theGuidesStepsLeadToThePlaintext_data();
    void theGuidesStepsLeadToThePlaintext();
    void theVerdictSendsToTheGuidesPage_data();
    void theVerdictSendsToTheGuidesPage();

private:
    CipherPage* Page(const QString& cipherName) const {
        for (CipherPage* page : pages_) {
            if (page->CipherName() == cipherName) {
                return page;
            }
        }
        return nullptr;
    }
    // The control of that name; the Beaufort page's have "Beaufort" after it.
    template <typename T> T* Control(CipherPage* page, const QString& name) const {
        if (T* control = page->findChild<T*>(name)) {
            return control;
        }
        return page->findChild<T*>(name + QStringLiteral("Beaufort"));
    }
    // Does one step as the student would: "click cmd…", "type txt… text", "set spn… value",
    // "slot A k" (k under the cipher letter A), "lock A", "tick chk…", "word CIFRATA" (its
    // pattern), "pick lst… parola", "choose cbo… index".
    bool Do(CipherPage* page, const QString& step) {
        const QStringList words = step.split(QLatin1Char(' '));
        QSignalSpy changed(page, &CipherPage::keyChanged);
        if (words[0] == QLatin1String("click")) {
            auto* button = Control<QAbstractButton>(page, words[1]);
            if (button == nullptr || !button->isEnabled()) {
                return false;
            }
            button->click();
        } else if (words[0] == QLatin1String("type")) {
            auto* line = Control<QLineEdit>(page, words[1]);
            if (line == nullptr) {
                return false;
            }
            line->selectAll();
            QTest::keyClick(line, Qt::Key_Backspace);
            QTest::keyClicks(line, words[2]);
        } else if (words[0] == QLatin1String("set")) {
            auto* spin = Control<QSpinBox>(page, words[1]);
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
            auto* box = Control<QAbstractButton>(page, words[1]);
            if (box == nullptr || !box->isCheckable()) {
                return false;
            }
            box->setChecked(true);
            return true; // the key stays as it was
        } else if (words[0] == QLatin1String("word")) {
            // The cipher word whose pattern is looked up.
            auto* line = Control<QLineEdit>(page, QStringLiteral("txtParolaCifrata"));
            if (line == nullptr) {
                return false;
            }
            line->clear();
            QTest::keyClicks(line, words[1]);
            return true;
        } else if (words[0] == QLatin1String("pick")) {
            // Enter on the row of a list that starts with the word.
            auto* list = Control<QListWidget>(page, words[1]);
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
            auto* box = Control<QComboBox>(page, words[1]);
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

    // Gives page the sample as the frame gives a text: the text, the language, then its periods.
    std::shared_ptr<const CipherText> Load(CipherPage* page, const QString& sample) {
        auto text = std::make_shared<const CipherText>(
            Read(QStringLiteral(":/texts/esempi/%1.txt").arg(sample)).toStdString());
        page->SetText(WorkText{sample, text});
        page->SetLanguage(WorkLanguage{QStringLiteral("Italiano"), ItalianFrequencies(),
                                       &LanguageModel::Get(Language::Italian)});
        auto analysis = std::make_shared<PeriodAnalysis>(kPeriodLimit);
        analysis->Update(text->letters());
        auto figures = std::make_shared<PeriodFigures>();
        figures->coincidences = analysis->Coincidences();
        figures->kasiski = analysis->Examination(text->letters(), 15);
        figures->analysis = std::move(analysis);
        page->SetPeriods(figures);
        return text;
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
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("key");     // the key the page shows at the end
    QTest::addColumn<QString>("reading"); // "text": the whole text, case aside; "letters": the
                                          // letters alone; "playfair": the letters, as Playfair
                                          // gives them back
    QTest::newRow("Cesare") << "cesare"
                            << "cesare" << QStringList{"click cmdMigliorSpostamento"} << "3"
                            << "text";
    QTest::newRow("sostituzione") << "sostituzione"
                                  << "sostituzione"
                                  << QStringList{"click cmdProponi", "click cmdCompleta",
                                                 "slot A k"}
                                  << QString() << "text";
    QTest::newRow("sostituzione, lettere bloccate e schema")
        << "sostituzione"
        << "sostituzione"
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
        << "sostituzione"
        << "sostituzione" << QStringList{"type txtChiaveSostituzione kxvmcnophqrszyijadlegwbuft"}
        << "kxvmcnophqrszyijadlegwbuft"
        << "text";
    QTest::newRow("affine") << "affine"
                            << "affine" << QStringList{"click cmdMigliorChiaveAffine"} << "5,8"
                            << "text";
    QTest::newRow("affine a mano")
        << "affine"
        << "affine" << QStringList{"set spnMoltiplicatore 5", "set spnSpostamentoAffine 8"} << "5,8"
        << "text";
    QTest::newRow("Vigenère") << "vigenere"
                              << "vigenere"
                              << QStringList{"click cmdTrovaPeriodo", "click cmdMigliorChiave"}
                              << "nuvola"
                              << "letters";
    QTest::newRow("Beaufort") << "beaufort"
                              << "beaufort"
                              << QStringList{"choose cboVerso 0", "click cmdTrovaPeriodo",
                                             "click cmdMigliorChiave"}
                              << "vento"
                              << "letters";
    QTest::newRow("autochiave") << "autochiave"
                                << "autochiave" << QStringList{"click cmdMigliorChiaveAutochiave"}
                                << "roma"
                                << "letters";
    QTest::newRow("autochiave a mano")
        << "autochiave"
        << "autochiave" << QStringList{"type txtChiaveIniziale roma"} << "roma"
        << "letters";
    QTest::newRow("trasposizione")
        << "trasposizione"
        << "trasposizione" << QStringList{"click cmdMigliorChiaveTrasposizione"} << "3 2 1 5 4"
        << "letters";
    QTest::newRow("trasposizione, la parola chiave")
        << "trasposizione"
        << "trasposizione" << QStringList{"type txtOrdine libro"} << "3 2 1 5 4"
        << "letters";
    QTest::newRow("staccionata") << "staccionata"
                                 << "trasposizione"
                                 << QStringList{"click optStaccionata",
                                                "click cmdMigliorChiaveTrasposizione"}
                                 << "staccionata 3"
                                 << "letters";
    QTest::newRow("Playfair, la parola chiave")
        << "playfair"
        << "playfair" << QStringList{"type txtParolaPlayfair crittografia"}
        << "CRITOGAFBDEHKLMNPQSUVWXYZ"
        << "playfair";
    QTest::newRow("Playfair, Miglior chiave")
        << "playfair"
        << "playfair" << QStringList{"click cmdMigliorChiavePlayfair"}
        << QString() // the keyword's square, or one with its rows and columns turned round
        << "playfair";
}

void TestGuideExercises::theGuidesStepsLeadToThePlaintext() {
    QFETCH(QString, sample);
    QFETCH(QString, page);
    QFETCH(QStringList, steps);
    QFETCH(QString, key);
    QFETCH(QString, reading);
    const std::string plain =
        Read(QStringLiteral(TALLIVO_TEXTS "/%1.txt").arg(sample)).toStdString();
    CipherPage* shown = Page(page);
    QVERIFY(shown != nullptr);
    const std::shared_ptr<const CipherText> text = Load(shown, sample);
    for (const QString& step : steps) {
        QVERIFY2(Do(shown, step), qPrintable(step));
    }
    if (!key.isEmpty()) {
        QCOMPARE(shown->KeyText(), key);
    }
    std::string deciphered;
    shown->Mapping()->Map(text->bytes(), deciphered, 0);
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
        QVERIFY2(PlayfairReading(LowerLetters(deciphered), LowerLetters(plain)),
                 LowerLetters(deciphered).c_str());
    }
}

void TestGuideExercises::theVerdictSendsToTheGuidesPage_data() {
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("page"); // the page "Apri la pagina" opens
    for (const char* name : {"cesare", "affine", "sostituzione", "vigenere", "autochiave",
                             "trasposizione", "playfair"}) {
        QTest::newRow(name) << name << name;
    }
    // The verdict names the family, and its first page; the guide sends on to Beaufort.
    QTest::newRow("beaufort") << "beaufort"
                              << "vigenere";
    QTest::newRow("staccionata") << "staccionata"
                                 << "trasposizione";
}

void TestGuideExercises::theVerdictSendsToTheGuidesPage() {
    QFETCH(QString, sample);
    QFETCH(QString, page);
    CipherPage* identification = Page(QStringLiteral("identificazione"));
    QVERIFY(identification != nullptr);
    QSignalSpy shown(identification, SIGNAL(verdictShown()));
    Load(identification, sample);
    QVERIFY(shown.wait(20000));
    QSignalSpy requested(identification, &CipherPage::pageRequested);
    auto* open = identification->findChild<QAbstractButton*>(QStringLiteral("cmdApriPagina"));
    QVERIFY(open != nullptr && open->isVisibleTo(identification));
    open->click();
    QCOMPARE(requested.size(), 1);
    QCOMPARE(requested[0][0].toString(), page);
}

QTEST_MAIN(TestGuideExercises)
#include "tst_guide_exercises.moc"
