#include "fake_services.h"
#include "italian_passage.h"
#include "page_fixture.h"
#include "playfair_page.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

using namespace tallivo;

namespace {

QString Prepared(const QByteArray& text) {
    return PlayfairPrepared(text.toStdString());
}

QString LettersOf(const QString& text) {
    QString letters;
    for (const QChar c : text) {
        if (c.isLetter()) {
            letters += c.toUpper();
        }
    }
    return letters;
}

} // namespace

class TestPlayfairPage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void bestKeyFindsTheSquare();
    void keyTextRoundTrips_data();
    void keyTextRoundTrips();
    void refusesKeysThatDoNotFit_data();
    void refusesKeysThatDoNotFit();
    void enciphersLettersAloneAndDeciphersBack_data();
    void enciphersLettersAloneAndDeciphersBack();
    void aLetterTypedInACellTakesItsPlace_data();
    void aLetterTypedInACellTakesItsPlace();
    void countsThePlaintextsLetters();

private:
    void Take(const QByteArray& cipher) { text_ = GiveText(*page_, cipher.toStdString()); }
    QString Plain() const { return PlainShown(*page_, *text_); }
    QTableWidget* Square() const {
        return Control<QTableWidget>(*page_, QStringLiteral("tblQuadrato"));
    }

    RecordingMessages messages_;
    PlayfairPage* page_ = nullptr;
    std::shared_ptr<const CipherText> text_;
};

void TestPlayfairPage::init() {
    page_ = new PlayfairPage(PageContext{messages_});
    page_->show();
}

void TestPlayfairPage::cleanup() {
    delete page_;
}

void TestPlayfairPage::bestKeyFindsTheSquare() {
#if defined(__SANITIZE_ADDRESS__)
    // Annealing 872 letters under the sanitizers takes minutes, not seconds; there the guide's
    // Playfair exercise runs the same search through the page on its short sample.
    QSKIP("the annealing search on 872 letters is run in the optimised build");
#endif
    const QByteArray plain = ItalianPassage();
    Take(QByteArray::fromStdString(
        PlayfairKey::Parse("primavera").key().Encrypt(plain.toStdString())));
    QVERIFY(LettersOf(Plain()) != Prepared(plain));
    QSignalSpy told(page_, &CipherPage::announce);
    auto* find = page_->findChild<QPushButton*>(QStringLiteral("cmdMigliorChiavePlayfair"));
    QCOMPARE(find->text(), QStringLiteral("&Miglior chiave"));
    QCOMPARE(find->accessibleName(), QStringLiteral("Miglior chiave"));
    QTest::mouseClick(find, Qt::LeftButton);
    QVERIFY(told.wait(60000));
    // A square with its rows or columns turned round deciphers alike: the plaintext tells.
    QCOMPARE(Plain(), Prepared(plain));
    QVERIFY(page_->findChild<QLabel*>(QStringLiteral("lblSuggerimentoPlayfair"))->text().isEmpty());
}

void TestPlayfairPage::keyTextRoundTrips_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("square");
    QTest::newRow("a keyword") << "playfair example"
                               << "PLAYFIREXMBCDGHKNOQSTUVWZ";
    QTest::newRow("the square itself") << "ZYXWVUTSRQPONMLKIHGFEDCBA"
                                       << "ZYXWVUTSRQPONMLKIHGFEDCBA";
    QTest::newRow("a square typed in rows") << " LIMON EABCD FGHKP QRSTU VWXYZ "
                                            << "LIMONEABCDFGHKPQRSTUVWXYZ";
}

void TestPlayfairPage::keyTextRoundTrips() {
    QFETCH(QString, typed);
    QFETCH(QString, square);
    Take("Testo di prova.");
    QCOMPARE(page_->SetKeyText(typed), std::nullopt);
    QCOMPARE(page_->KeyText(), square);
    for (int cell = 0; cell < 25; ++cell) {
        QCOMPARE(Square()->item(cell / 5, cell % 5)->text(), square.mid(cell, 1));
    }
    const QString plain = Plain();
    QCOMPARE(page_->SetKeyText(QStringLiteral("cavallo")), std::nullopt);
    QVERIFY(Plain() != plain);
    QCOMPARE(page_->SetKeyText(square), std::nullopt);
    QCOMPARE(page_->KeyText(), square);
    QCOMPARE(Plain(), plain);
}

void TestPlayfairPage::refusesKeysThatDoNotFit_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("why");
    QTest::newRow("nothing") << " "
                             << "La chiave è vuota.";
    QTest::newRow("an accent") << "città"
                               << "non sono lettere";
}

void TestPlayfairPage::refusesKeysThatDoNotFit() {
    QFETCH(QString, typed);
    QFETCH(QString, why);
    Take("Testo di prova.");
    QCOMPARE(page_->SetKeyText(QStringLiteral("gelato")), std::nullopt);
    const QString kept = page_->KeyText();
    QSignalSpy changed(page_, &CipherPage::keyChanged);
    const std::optional<QString> refusal = page_->SetKeyText(typed);
    QVERIFY(refusal.has_value());
    QVERIFY2(refusal->contains(why), qPrintable(*refusal));
    QVERIFY(refusal->endsWith(QStringLiteral("La chiave in uso non cambia.")));
    QCOMPARE(page_->KeyText(), kept);
    QCOMPARE(changed.size(), 0);
    // Typed into the keyword line, it says why in the page and keeps the square too.
    auto* line = page_->findChild<QLineEdit*>(QStringLiteral("txtParolaPlayfair"));
    line->selectAll();
    TypeKeys(line, typed.right(1));
    QVERIFY(
        page_->findChild<QLabel*>(QStringLiteral("lblSuggerimentoPlayfair"))->text().contains(why));
    QCOMPARE(page_->KeyText(), kept);
}

void TestPlayfairPage::enciphersLettersAloneAndDeciphersBack_data() {
    QTest::addColumn<QByteArray>("plain");
    QTest::addColumn<QString>("key");
    QTest::newRow("the passage") << ItalianPassage() << "primavera";
    QTest::newRow("doubled letters, a J and an odd end")
        << QByteArray("Jacopo, oggi è tardi: passa la mozzarella!") << "tramonto";
    QTest::newRow("two X in a pair") << QByteArray("Xxa") << "lucciola";
}

void TestPlayfairPage::enciphersLettersAloneAndDeciphersBack() {
    QFETCH(QByteArray, plain);
    QFETCH(QString, key);
    Take(plain);
    QCOMPARE(page_->SetKeyText(key), std::nullopt);
    QVERIFY(!page_->EncryptKeepsLayout());
    const QByteArray cipher = QByteArray::fromStdString(page_->Encrypt(plain.toStdString()));
    // Capitals alone, as many as the prepared letters.
    static const QRegularExpression capitals(QStringLiteral("^[A-Z]*$"));
    QVERIFY(capitals.match(QString::fromLatin1(cipher)).hasMatch());
    QCOMPARE(cipher.size(), Prepared(plain).size());
    const QString square = page_->KeyText();
    Take(cipher);
    QCOMPARE(page_->SetKeyText(square), std::nullopt);
    QCOMPARE(Plain(), Prepared(plain));
}

void TestPlayfairPage::aLetterTypedInACellTakesItsPlace_data() {
    QTest::addColumn<int>("cell");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("square");
    QTest::newRow("Z into the first cell") << 0 << "z"
                                           << "ZBCDEFGHIKLMNOPQRSTUVWXYA";
    QTest::newRow("J is I") << 1 << "J"
                            << "AICDEFGHBKLMNOPQRSTUVWXYZ";
    QTest::newRow("its own letter") << 7 << "h"
                                    << "ABCDEFGHIKLMNOPQRSTUVWXYZ";
    QTest::newRow("a digit changes nothing") << 3 << "4"
                                             << "ABCDEFGHIKLMNOPQRSTUVWXYZ";
}

void TestPlayfairPage::aLetterTypedInACellTakesItsPlace() {
    QFETCH(int, cell);
    QFETCH(QString, typed);
    QFETCH(QString, square);
    Take("Testo di prova.");
    Square()->setFocus();
    Square()->setCurrentCell(cell / 5, cell % 5);
    // A key starts the cell's editor with what it types; Return puts it in.
    QTest::keyClicks(Square(), typed);
    auto* editor = Square()->findChild<QLineEdit*>();
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->text(), typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_VERIFY(Square()->findChild<QLineEdit*>() == nullptr); // put in once the editor goes
    QCOMPARE(page_->KeyText(), square);
    QCOMPARE(Square()->item(cell / 5, cell % 5)->text(), square.mid(cell, 1));
    const bool refused = !typed.front().isLetter();
    QCOMPARE(page_->findChild<QLabel*>(QStringLiteral("lblSuggerimentoPlayfair"))->text().isEmpty(),
             !refused);
}

void TestPlayfairPage::countsThePlaintextsLetters() {
    // An odd number of letters, a doubled pair and a J: the counts are those of the plaintext.
    Take("Jacopo dorme, zitto: ssst! Q");
    QCOMPARE(page_->SetKeyText(QStringLiteral("gabbiano")), std::nullopt);
    const QString plain = Plain();
    std::vector<std::int32_t> counts(26, 0);
    for (const QChar c : LettersOf(plain)) {
        ++counts[std::size_t(c.unicode() - u'A')];
    }
    QCOMPARE(page_->PlainCounts(), counts);
}

QTEST_MAIN(TestPlayfairPage)
#include "tst_playfair_page.moc"
