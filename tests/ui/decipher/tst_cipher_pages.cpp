#include "affine_key.h"
#include "autokey_key.h"
#include "cipher_page.h"
#include "cipher_texts.h"
#include "fake_services.h"
#include "letter_layout.h"
#include "page_fixture.h"
#include "page_registry.h"
#include "periodic_key.h"
#include "playfair_key.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <algorithm>

using namespace tallivo;

namespace {

// The sample and the plaintexts of the program's own examples, some 5,700 letters of Italian
// with no passage twice: long enough for keys of up to 29 letters.
QByteArray LongItalian() {
    QByteArray text = ItalianSample();
    const QDir dir(QStringLiteral(TALLIVO_TEXTS));
    for (const QString& name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        text += '\n' + FileBytes(dir.filePath(name));
    }
    return text;
}

std::vector<std::uint8_t> Letters(std::string_view word) {
    std::vector<std::uint8_t> letters;
    for (const char c : word) {
        letters.push_back(std::uint8_t(LetterIndex(static_cast<unsigned char>(c))));
    }
    return letters;
}

// Enciphers plain with the core's own keys, by the cipher's name and its key as KeyText writes
// it; "rovescio" (the letters backwards) stands for a transposition.
std::string Encipher(const QString& cipher, const std::string& key, const std::string& plain) {
    std::string out;
    if (cipher == QLatin1String("cesare") || cipher == QLatin1String("vigenere")) {
        PeriodicKey(PeriodicSense::Vigenere, Letters(key)).Encrypt(plain, out);
    } else if (cipher == QLatin1String("beaufort")) {
        const bool variant = key.starts_with("variante:");
        PeriodicKey(variant ? PeriodicSense::VariantBeaufort : PeriodicSense::Beaufort,
                    Letters(variant ? key.substr(9) : key))
            .Encrypt(plain, out);
    } else if (cipher == QLatin1String("affine")) {
        AffineKey::Parse(key).key().Encrypt(plain, out);
    } else if (cipher == QLatin1String("autochiave")) {
        AutokeyKey(Letters(key)).Encrypt(plain, out);
    } else if (cipher == QLatin1String("rovescio")) {
        out.assign(plain.rbegin(), plain.rend());
    } else if (cipher == QLatin1String("playfair")) {
        std::vector<std::uint8_t> letters;
        for (const char c : plain) {
            if (LetterIndex(static_cast<unsigned char>(c)) >= 0) {
                letters.push_back(std::uint8_t(LetterIndex(static_cast<unsigned char>(c))));
            }
        }
        for (const std::uint8_t letter : PlayfairKey::Parse(key).key().EncryptLetters(letters)) {
            out += char('A' + letter);
        }
    }
    return out;
}

} // namespace

class TestCipherPages : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void theVerdictNamesTheCipherAndOpensItsPage_data();
    void theVerdictNamesTheCipherAndOpensItsPage();
    void theVerdictWritesNumbersTheDesktopsWay_data();
    void theVerdictWritesNumbersTheDesktopsWay();
    void migliorChiaveFindsTheKey_data();
    void migliorChiaveFindsTheKey();
    void keysAreTakenAsWrittenOrRefusedUnchanged_data();
    void keysAreTakenAsWrittenOrRefusedUnchanged();
    void whatAPageEnciphersItDeciphers_data();
    void whatAPageEnciphersItDeciphers();
    void longPeriodsAreFoundOrLeftUnsure_data();
    void longPeriodsAreFoundOrLeftUnsure();
    void aProbableWordGivesTheKeyLetters_data();
    void aProbableWordGivesTheKeyLetters();
    void anAffineMultiplierSharingAFactorWith26ChangesNothing();

private:
    CipherPage* Page(const QString& cipherName) const { return PageNamed(pages_, cipherName); }
    // Gives page a text as the frame does: the text, the language, then its periods.
    void Load(CipherPage* page, const std::string& cipher) {
        text_ = GiveText(*page, cipher, WithPeriods::Yes);
    }
    std::string PlainOf(const CipherPage* page) const { return PlainBytes(*page, *text_); }
    template <typename T> T* Named(CipherPage* page, const char* name) const {
        return Control<T>(*page, QLatin1String(name));
    }

    RecordingMessages messages_;
    QLocale locale_; // the desktop's, put back after each test
    std::vector<CipherPage*> pages_;
    std::shared_ptr<const CipherText> text_;
};

void TestCipherPages::init() {
    locale_ = QLocale();
    pages_ = CreateCipherPages(PageContext{messages_}, nullptr);
}

void TestCipherPages::cleanup() {
    qDeleteAll(pages_);
    pages_.clear();
    QLocale::setDefault(locale_);
}

void TestCipherPages::theVerdictNamesTheCipherAndOpensItsPage_data() {
    QTest::addColumn<QString>("cipher");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("page");      // the page the verdict opens, empty for none
    QTest::addColumn<QString>("otherPage"); // the second page it offers, if any
    QTest::newRow("Cesare") << "cesare"
                            << "h"
                            << "cesare" << QString();
    QTest::newRow("affine") << "affine"
                            << "5,8"
                            << "affine" << QString();
    QTest::newRow("Atbash") << "affine"
                            << "25,25"
                            << "affine" << QString();
    QTest::newRow("Vigenère") << "vigenere"
                              << "chiave"
                              << "vigenere"
                              << "beaufort";
    QTest::newRow("Beaufort") << "beaufort"
                              << "leone"
                              << "vigenere"
                              << "beaufort";
    QTest::newRow("variante") << "beaufort"
                              << "variante:ombrello"
                              << "vigenere"
                              << "beaufort";
    QTest::newRow("autochiave") << "autochiave"
                                << "leone"
                                << "autochiave" << QString();
    QTest::newRow("trasposizione") << "rovescio" << QString() << "trasposizione" << QString();
    QTest::newRow("Playfair") << "playfair"
                              << "tavolozza"
                              << "playfair" << QString();
}

void TestCipherPages::theVerdictNamesTheCipherAndOpensItsPage() {
    QFETCH(QString, cipher);
    QFETCH(QString, key);
    QFETCH(QString, page);
    QFETCH(QString, otherPage);
    CipherPage* identification = pages_.front();
    QCOMPARE(identification->CipherName(), QStringLiteral("identificazione"));
    Load(identification, Encipher(cipher, key.toStdString(), ItalianSample().toStdString()));
    QVERIFY(VerdictShown(*identification));
    auto* shown = Named<QPlainTextEdit>(identification, "txtVerdetto");
    QCOMPARE(shown->accessibleName(), QStringLiteral("Verdetto"));
    QVERIFY(shown->isReadOnly());
    const QString verdict = shown->toPlainText();
    QVERIFY2(verdict.contains(QStringLiteral("probabilmente")), qPrintable(verdict));
    QSignalSpy requested(identification, &CipherPage::pageRequested);
    auto* open = Named<QPushButton>(identification, "cmdApriPagina");
    QVERIFY2(open->isVisibleTo(identification), qPrintable(verdict));
    QTest::mouseClick(open, Qt::LeftButton);
    QCOMPARE(requested.size(), 1);
    QCOMPARE(requested[0][0].toString(), page);
    auto* other = Named<QPushButton>(identification, "cmdApriAltraPagina");
    QCOMPARE(other->isVisibleTo(identification), !otherPage.isEmpty());
    if (!otherPage.isEmpty()) {
        QTest::mouseClick(other, Qt::LeftButton);
        QCOMPARE(requested.last()[0].toString(), otherPage);
    }
    // The page deciphers nothing, in either direction.
    QCOMPARE(PlainOf(identification), text_->bytes());
    QCOMPARE(identification->Encrypt(text_->bytes()), text_->bytes());
}

void TestCipherPages::theVerdictWritesNumbersTheDesktopsWay_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("coincidence");
    QTest::addColumn<QString>("letters");
    QTest::newRow("C") << "C"
                       << "Indice di coincidenza: 0.0"
                       << "Lettere del testo: 79 (ne servono almeno 80";
    QTest::newRow("Italian") << "it_IT"
                             << "Indice di coincidenza: 0,0"
                             << "Lettere del testo: 1.604 (";
}

void TestCipherPages::theVerdictWritesNumbersTheDesktopsWay() {
    QFETCH(QString, locale);
    QFETCH(QString, coincidence);
    QFETCH(QString, letters);
    QLocale::setDefault(QLocale(locale));
    CipherPage* identification = pages_.front();
    // Under C, one letter short of a verdict: it says so, and opens no page.
    std::string plain = Encipher(QStringLiteral("cesare"), "c", ItalianSample().toStdString());
    if (locale == QLatin1String("C")) {
        std::size_t letter = 0;
        std::size_t at = 0;
        for (; at < plain.size() && letter < 79; ++at) {
            letter += LetterIndex(static_cast<unsigned char>(plain[at])) >= 0 ? 1 : 0;
        }
        plain.resize(at);
    }
    Load(identification, plain);
    QVERIFY(VerdictShown(*identification));
    const QString verdict = Named<QPlainTextEdit>(identification, "txtVerdetto")->toPlainText();
    QVERIFY2(verdict.contains(letters), qPrintable(verdict));
    const bool tooShort = locale == QLatin1String("C");
    QCOMPARE(verdict.contains(QStringLiteral("troppo corto")), tooShort);
    QCOMPARE(Named<QPushButton>(identification, "cmdApriPagina")->isVisibleTo(identification),
             !tooShort);
    if (!tooShort) {
        QVERIFY2(verdict.contains(coincidence), qPrintable(verdict));
    }
}

void TestCipherPages::migliorChiaveFindsTheKey_data() {
    QTest::addColumn<QString>("cipher");
    QTest::addColumn<QString>("key");
    QTest::newRow("affine") << "affine"
                            << "5,8";
    QTest::newRow("Atbash") << "affine"
                            << "25,25";
    QTest::newRow("Vigenère") << "vigenere"
                              << "lemonade";
    QTest::newRow("Beaufort") << "beaufort"
                              << "leone";
    QTest::newRow("variante") << "beaufort"
                              << "variante:ombrello";
    QTest::newRow("autochiave") << "autochiave"
                                << "leone";
    QTest::newRow("autochiave lunga") << "autochiave"
                                      << "tramontana";
}

void TestCipherPages::migliorChiaveFindsTheKey() {
    QFETCH(QString, cipher);
    QFETCH(QString, key);
    const std::string plain = ItalianSample().toStdString();
    CipherPage* page = Page(cipher);
    Load(page, Encipher(cipher, key.toStdString(), plain));
    QVERIFY(PlainOf(page) != plain);
    if (auto* find = Named<QPushButton>(page, "cmdTrovaPeriodo")) {
        QTest::mouseClick(find, Qt::LeftButton);
    }
    if (auto* sense = page->findChild<QComboBox*>(QStringLiteral("cboVerso"))) {
        sense->setCurrentIndex(key.startsWith(QStringLiteral("variante:")) ? 1 : 0);
    }
    // One button finds the key, named alike on every page.
    QList<QPushButton*> best;
    for (QPushButton* button : page->findChildren<QPushButton*>()) {
        if (button->accessibleName() == QStringLiteral("Miglior chiave")) {
            best << button;
        }
    }
    QCOMPARE(best.size(), 1);
    QCOMPARE(best[0]->text().remove(QLatin1Char('&')), QStringLiteral("Miglior chiave"));
    QSignalSpy changed(page, &CipherPage::keyChanged);
    QTest::mouseClick(best[0], Qt::LeftButton);
    if (changed.isEmpty()) {
        QVERIFY(changed.wait(30000)); // a search beside the window
    }
    QCOMPARE(page->KeyText(), key);
    QCOMPARE(PlainOf(page), plain);
}

void TestCipherPages::keysAreTakenAsWrittenOrRefusedUnchanged_data() {
    QTest::addColumn<QString>("cipher");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("kept"); // the key in use after, as KeyText writes it
    QTest::addColumn<bool>("taken");
    QTest::newRow("affine") << "affine"
                            << "5,8"
                            << "5,8" << true;
    QTest::newRow("affine with blanks") << "affine"
                                        << " 7 ; 3 "
                                        << "7,3" << true;
    QTest::newRow("affine b = 26") << "affine"
                                   << "5,26"
                                   << "1,0" << false;
    QTest::newRow("affine empty") << "affine"
                                  << ""
                                  << "1,0" << false;
    QTest::newRow("primer") << "autochiave"
                            << "LEONE"
                            << "leone" << true;
    QTest::newRow("primer with a digit") << "autochiave"
                                         << "le0ne"
                                         << "a" << false;
    QTest::newRow("primer of 21") << "autochiave" << QString(21, QLatin1Char('b')) << "a" << false;
    QTest::newRow("primer of 20") << "autochiave" << QString(20, QLatin1Char('b'))
                                  << QString(20, QLatin1Char('b')) << true;
    QTest::newRow("Beaufort") << "beaufort"
                              << "leone"
                              << "leone" << true;
    QTest::newRow("variante") << "beaufort"
                              << "variante:leone"
                              << "variante:leone" << true;
    QTest::newRow("Beaufort named") << "beaufort"
                                    << "Beaufort: leone"
                                    << "leone" << true;
    QTest::newRow("variante without keyword") << "beaufort"
                                              << "variante:"
                                              << "a" << false;
    QTest::newRow("variante with a digit") << "beaufort"
                                           << "variante:le0ne"
                                           << "a" << false;
    QTest::newRow("Vigenère of 41") << "vigenere" << QString(41, QLatin1Char('c')) << "a" << false;
    QTest::newRow("identificazione") << "identificazione"
                                     << ""
                                     << "" << true;
    QTest::newRow("identificazione with a key") << "identificazione"
                                                << "3"
                                                << "" << false;
}

void TestCipherPages::keysAreTakenAsWrittenOrRefusedUnchanged() {
    QFETCH(QString, cipher);
    QFETCH(QString, key);
    QFETCH(QString, kept);
    QFETCH(bool, taken);
    CipherPage* page = Page(cipher);
    Load(page, ItalianSample().toStdString());
    const std::string before = PlainOf(page);
    QSignalSpy changed(page, &CipherPage::keyChanged);
    const std::optional<QString> error = page->SetKeyText(key);
    QCOMPARE(!error.has_value(), taken);
    QCOMPARE(page->KeyText(), kept);
    if (!taken) {
        QVERIFY(error->endsWith(QStringLiteral("La chiave in uso non cambia.")) ||
                cipher == QLatin1String("identificazione"));
        QCOMPARE(changed.size(), 0);
        QCOMPARE(PlainOf(page), before);
        return;
    }
    // Written back as read, and read again the same.
    QVERIFY(page->SetKeyText(page->KeyText()) == std::nullopt);
    QCOMPARE(page->KeyText(), kept);
}

void TestCipherPages::whatAPageEnciphersItDeciphers_data() {
    QTest::addColumn<QString>("cipher");
    QTest::addColumn<int>("length"); // of a random key, where the cipher's key has one
    QTest::newRow("affine") << "affine" << 0;
    QTest::newRow("Vigenère") << "vigenere" << 40;
    QTest::newRow("Beaufort") << "beaufort" << 7;
    QTest::newRow("autochiave") << "autochiave" << 20;
    QTest::newRow("autochiave di una lettera") << "autochiave" << 1;
    QTest::newRow("identificazione") << "identificazione" << 0;
}

void TestCipherPages::whatAPageEnciphersItDeciphers() {
    QFETCH(QString, cipher);
    QFETCH(int, length);
    const std::string plain = ItalianSample().toStdString();
    CipherPage* page = Page(cipher);
    Load(page, plain);
    std::mt19937_64 random(length + 11);
    page->RandomKey(random, KeyOptions{length});
    const QString key = page->KeyText();
    if (length > 0) {
        QCOMPARE(key.size() - key.lastIndexOf(QLatin1Char(':')) - 1, length);
    }
    const std::string cipherText = page->Encrypt(plain);
    QCOMPARE(cipherText.size(), plain.size());
    QCOMPARE(cipherText == plain, cipher == QLatin1String("identificazione"));
    // The key read back on the enciphered text gives the plaintext.
    Load(page, cipherText);
    QVERIFY(page->SetKeyText(key) == std::nullopt);
    QCOMPARE(PlainOf(page), plain);
    // The counts the frame shows are the plaintext's.
    const CipherText plainText(plain);
    QCOMPARE(page->PlainCounts(), plainText.counts());
}

void TestCipherPages::longPeriodsAreFoundOrLeftUnsure_data() {
    QTest::addColumn<QString>("cipher");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("letters");   // of plaintext kept, 0 for the long text
    QTest::addColumn<bool>("mustFind"); // a text this long shows the period
    const std::pair<const char*, QString> rows[] = {
        {"21", QStringLiteral("precipitevolissimevol")},
        {"23", QStringLiteral("laprimaveraeunastagione")},
        {"25", QStringLiteral("ilcanedelvicinoabbaiavano")},
        {"29", QStringLiteral("sopralapancalacapracampasotto")}};
    for (const auto& [name, key] : rows) {
        QTest::addRow("%s letters, long text", name) << "vigenere" << key << 0 << true;
        QTest::addRow("%s letters, 1604 letters", name) << "vigenere" << key << 1604 << true;
        QTest::addRow("%s letters, 250 letters", name) << "vigenere" << key << 250 << false;
    }
    QTest::newRow("autokey: no period") << "autochiave"
                                        << "sopralapanca" << 0 << false;
}

void TestCipherPages::longPeriodsAreFoundOrLeftUnsure() {
    QFETCH(QString, cipher);
    QFETCH(QString, key);
    QFETCH(int, letters);
    QFETCH(bool, mustFind);
    std::string plain = (letters == 0 ? LongItalian() : ItalianSample()).toStdString();
    for (std::size_t at = 0, seen = 0; at < plain.size(); ++at) {
        seen += LetterIndex(static_cast<unsigned char>(plain[at])) >= 0 ? 1 : 0;
        if (letters > 0 && seen == std::size_t(letters)) {
            plain.resize(at + 1);
        }
    }
    CipherPage* page = Page(QStringLiteral("vigenere"));
    Load(page, Encipher(cipher, key.toStdString(), plain));
    auto* period = Named<QSpinBox>(page, "spnPeriodo");
    QCOMPARE(period->maximum(), kPeriodLimit);
    QCOMPARE(Named<QTableWidget>(page, "tblPeriodi")->rowCount(), kPeriodLimit);
    QTest::mouseClick(Named<QPushButton>(page, "cmdTrovaPeriodo"), Qt::LeftButton);
    const QString said = Named<QLabel>(page, "lblPeriodoTrovato")->text();
    const bool sure = said.contains(QStringLiteral("nettamente"));
    const bool none = said.startsWith(QStringLiteral("Nessun periodo"));
    QVERIFY2(sure || none || said.contains(QStringLiteral("probabile")), qPrintable(said));
    // Never a wrong period as sure; with none, candidates are listed and the period stays.
    if (sure || mustFind) {
        QVERIFY2(period->value() == key.size() && !none && cipher == QLatin1String("vigenere"),
                 qPrintable(said));
    }
    if (none) {
        QCOMPARE(period->value(), 1);
        QVERIFY2(said.contains(QStringLiteral("Da provare")), qPrintable(said));
    }
    QCOMPARE(none, cipher == QLatin1String("autochiave"));
    // The period typed by hand, the best key is the keyword.
    if (mustFind) {
        period->setValue(1);
        period->setValue(int(key.size()));
        QTest::mouseClick(Named<QPushButton>(page, "cmdMigliorChiave"), Qt::LeftButton);
        QCOMPARE(page->KeyText(), key);
        QCOMPARE(PlainOf(page), plain);
    }
}

void TestCipherPages::aProbableWordGivesTheKeyLetters_data() {
    QTest::addColumn<QString>("cipher");
    QTest::addColumn<QString>("key");
    QTest::newRow("Vigenère") << "vigenere"
                              << "chiave";
    QTest::newRow("Beaufort") << "beaufort"
                              << "chiave";
    QTest::newRow("variante") << "beaufort"
                              << "variante:chiave";
}

void TestCipherPages::aProbableWordGivesTheKeyLetters() {
    QFETCH(QString, cipher);
    QFETCH(QString, key);
    const std::string plain = ItalianSample().toStdString();
    CipherPage* page = Page(cipher);
    Load(page, Encipher(cipher, key.toStdString(), plain));
    if (auto* sense = page->findChild<QComboBox*>(QStringLiteral("cboVerso"))) {
        sense->setCurrentIndex(key.startsWith(QStringLiteral("variante:")) ? 1 : 0);
    }
    Named<QSpinBox>(page, "spnPeriodo")->setValue(6);
    // "Quando la nebbia sale": the word starts at the text's seventh letter, its key letters
    // repeat every six, and the row that says so comes first.
    auto* word = Named<QLineEdit>(page, "txtParolaProbabile");
    QCOMPARE(word->accessibleName(), QStringLiteral("Parola probabile"));
    word->setText(QStringLiteral("la nebbia sale"));
    emit word->textEdited(word->text());
    auto* table = Named<QTableWidget>(page, "tblParolaProbabile");
    QVERIFY(table->rowCount() > 1);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("7"));
    QVERIFY(table->item(0, 2)->text().startsWith(QStringLiteral("sì")));
    QVERIFY(!table->item(1, 2)->text().startsWith(QStringLiteral("sì")));
    table->setCurrentCell(0, 0);
    QTest::mouseClick(Named<QPushButton>(page, "cmdUsaPosizione"), Qt::LeftButton);
    QCOMPARE(page->KeyText(), key);
    QCOMPARE(PlainOf(page), plain);
    // Anything but letters and blanks is said to be no word.
    word->setText(QStringLiteral("città"));
    emit word->textEdited(word->text());
    QCOMPARE(table->rowCount(), 0);
    QVERIFY(!Named<QLabel>(page, "lblParolaProbabile")->text().isEmpty());
}

void TestCipherPages::anAffineMultiplierSharingAFactorWith26ChangesNothing() {
    CipherPage* page = Page(QStringLiteral("affine"));
    Load(page, ItalianSample().toStdString());
    QVERIFY(page->SetKeyText(QStringLiteral("5,8")) == std::nullopt);
    QSignalSpy changed(page, &CipherPage::keyChanged);
    auto* a = Named<QSpinBox>(page, "spnMoltiplicatore");
    for (const int shared : {2, 13, 4}) {
        a->setValue(shared);
        QCOMPARE(page->KeyText(), QStringLiteral("5,8"));
        QVERIFY(
            Named<QLabel>(page, "lblSuggerimentoAffine")->text().contains(QStringLiteral("26")));
    }
    QCOMPARE(changed.size(), 0);
    a->setValue(7);
    QCOMPARE(page->KeyText(), QStringLiteral("7,8"));
    QVERIFY(Named<QLabel>(page, "lblSuggerimentoAffine")->text().isEmpty());
    QTest::mouseClick(Named<QPushButton>(page, "cmdAtbash"), Qt::LeftButton);
    QCOMPARE(page->KeyText(), QStringLiteral("25,25"));
    QCOMPARE(Named<QTableWidget>(page, "tblChiaviAffini")->rowCount(), AffineKey::kKeys);
}

QTEST_MAIN(TestCipherPages)
#include "tst_cipher_pages.moc"
