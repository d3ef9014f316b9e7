#include "analysis_model.h"
#include "fake_services.h"
#include "fdecifra.h"
#include "italian_passage.h"
#include "page_fixture.h"
#include "reference_frequencies.h"
#include "transposition_page.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace tallivo;

class TestTranspositionPage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void bestKeyGivesTheTextBack_data();
    void bestKeyGivesTheTextBack();
    void keyTextRoundTrips_data();
    void keyTextRoundTrips();
    void refusesKeysThatDoNotFit_data();
    void refusesKeysThatDoNotFit();
    void enciphersAndDeciphersBack_data();
    void enciphersAndDeciphersBack();
    void theKeyboardMovesAColumn_data();
    void theKeyboardMovesAColumn();
    void draggingAHeaderMovesItsColumn();
    void randomKeysHaveTheLengthAsked_data();
    void randomKeysHaveTheLengthAsked();
    void theWorkbenchShowsThePlaintextAsTheKeyChanges();

private:
    // Works on cipher, compared with Italian.
    void Take(const QByteArray& cipher) { text_ = GiveText(*page_, cipher.toStdString()); }
    // The plaintext as the workbench's pane shows it.
    QString Plain() const { return PlainShown(*page_, *text_); }
    template <typename T> T* Find(const char* name) const {
        return Control<T>(*page_, QLatin1String(name));
    }
    QTableWidget* Grid() const { return Find<QTableWidget>("tblGriglia"); }

    RecordingMessages messages_;
    TranspositionPage* page_ = nullptr;
    std::shared_ptr<const CipherText> text_;
};

void TestTranspositionPage::init() {
    page_ = new TranspositionPage(PageContext{messages_});
    page_->show();
}

void TestTranspositionPage::cleanup() {
    delete page_;
}

void TestTranspositionPage::bestKeyGivesTheTextBack_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("onlyThese"); // searched with the key's number of columns only
    QTest::addColumn<bool>("reference"); // compared with a reference text: no n-grams of its own
    QTest::newRow("6 columns among 2 to 12") << "4 1 6 2 5 3" << false << false;
    QTest::newRow("11 columns, by climbing") << "7 3 10 1 9 4 2 8 5 11 6" << true << false;
    QTest::newRow("5 rails") << "staccionata 5" << false << false;
    QTest::newRow("20 rails") << "staccionata 20" << false << false;
    // A reference text has only its letters: the search scores with Italian's n-grams.
    QTest::newRow("columns, against a reference text") << "4 1 6 2 5 3" << false << true;
}

void TestTranspositionPage::bestKeyGivesTheTextBack() {
    QFETCH(QString, key);
    QFETCH(bool, onlyThese);
    QFETCH(bool, reference);
    const QByteArray plain = ItalianPassage();
    std::string cipher;
    const bool railFence = key.startsWith(QLatin1String("staccionata"));
    if (railFence) {
        RailFenceKey(key.mid(12).toInt()).Encrypt(plain.toStdString(), cipher);
    } else {
        ColumnarKey::Parse(key.toStdString()).key().Encrypt(plain.toStdString(), cipher);
    }
    Take(QByteArray::fromStdString(cipher));
    if (reference) {
        page_->SetLanguage(WorkLanguage{QStringLiteral("riferimento.txt"), ItalianFrequencies()});
    }
    QVERIFY(Plain() != QString::fromUtf8(plain));
    if (railFence) {
        Find<QRadioButton>("optStaccionata")->click();
    }
    if (onlyThese) {
        Find<QSpinBox>("spnColonne")->setValue(int(key.split(QLatin1Char(' ')).size()));
        Find<QCheckBox>("chkSoloColonne")->setChecked(true);
    }
    QSignalSpy told(page_, &CipherPage::announce);
    QSignalSpy changed(page_, &CipherPage::keyChanged);
    auto* find = Find<QPushButton>("cmdMigliorChiaveTrasposizione");
    QCOMPARE(find->text(), QStringLiteral("&Miglior chiave"));
    QCOMPARE(find->accessibleName(), QStringLiteral("Miglior chiave"));
    QTest::mouseClick(find, Qt::LeftButton);
    QVERIFY(told.wait(60000));
    QCOMPARE(page_->KeyText(), key);
    QCOMPARE(Plain(), QString::fromUtf8(plain)); // accents, capitals and punctuation in place
    QCOMPARE(changed.size(), 1);
    if (railFence) {
        // Every number of rails is ranked, the best first.
        auto* ranking = Find<QTableWidget>("tblBinari");
        QCOMPARE(ranking->rowCount(), RailFenceKey::kMost - RailFenceKey::kFewest + 1);
        QCOMPARE(ranking->item(0, 0)->text(), key.mid(12) + QStringLiteral(" — migliore"));
        QVERIFY(ranking->item(0, 0)->font().bold());
    }
}

void TestTranspositionPage::keyTextRoundTrips_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("ranks") << "3 1 4 2"
                           << "3 1 4 2";
    QTest::newRow("ranks between commas") << " 2, 1 "
                                          << "2 1";
    QTest::newRow("a keyword, equal letters left to right") << "gatto"
                                                            << "2 1 4 5 3";
    QTest::newRow("twelve columns") << "12 1 11 2 10 3 9 4 8 5 7 6"
                                    << "12 1 11 2 10 3 9 4 8 5 7 6";
    QTest::newRow("rail fence, any case") << "  Staccionata 7 "
                                          << "staccionata 7";
    QTest::newRow("rail fence, fewest rails") << "staccionata 2"
                                              << "staccionata 2";
}

void TestTranspositionPage::keyTextRoundTrips() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    Take("Testo di prova con qualche parola in più.");
    QCOMPARE(page_->SetKeyText(typed), std::nullopt);
    QCOMPARE(page_->KeyText(), kept);
    const QString plain = Plain();
    // What KeyText writes is read back as the same key, from another key in use.
    QCOMPARE(
        page_->SetKeyText(kept.contains(QLatin1String("staccionata")) ? "2 1" : "staccionata 3"),
        std::nullopt);
    QVERIFY(Plain() != plain);
    QCOMPARE(page_->SetKeyText(kept), std::nullopt);
    QCOMPARE(page_->KeyText(), kept);
    QCOMPARE(Plain(), plain);
    QCOMPARE(page_->IsRailFence(), Find<QRadioButton>("optStaccionata")->isChecked());
}

void TestTranspositionPage::refusesKeysThatDoNotFit_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("why");
    QTest::newRow("nothing") << "   "
                             << "La chiave è vuota.";
    QTest::newRow("no column 1") << "2 3 4"
                                 << "I numeri delle colonne";
    QTest::newRow("thirteen columns") << "1 2 3 4 5 6 7 8 9 10 11 12 13"
                                      << "troppo lunga";
    QTest::newRow("a keyword of thirteen letters") << "abcdefghilmno"
                                                   << "troppo lunga";
    QTest::newRow("one column") << "1"
                                << "troppo corta";
    QTest::newRow("a letter among the numbers") << "3 1 x"
                                                << "deve essere un numero";
    QTest::newRow("an accented keyword") << "città"
                                         << "non sono lettere";
    QTest::newRow("one rail") << "staccionata 1"
                              << "fuori dall'intervallo";
    QTest::newRow("21 rails") << "staccionata 21"
                              << "fuori dall'intervallo";
    QTest::newRow("no rails") << "staccionata"
                              << "La chiave è vuota.";
}

void TestTranspositionPage::refusesKeysThatDoNotFit() {
    QFETCH(QString, typed);
    QFETCH(QString, why);
    Take("Testo di prova.");
    QCOMPARE(page_->SetKeyText(QStringLiteral("3 1 2")), std::nullopt);
    QSignalSpy changed(page_, &CipherPage::keyChanged);
    const std::optional<QString> refusal = page_->SetKeyText(typed);
    QVERIFY(refusal.has_value());
    QVERIFY2(refusal->contains(why), qPrintable(*refusal));
    QVERIFY(refusal->endsWith(QStringLiteral("La chiave in uso non cambia.")));
    QCOMPARE(page_->KeyText(), QStringLiteral("3 1 2"));
    QCOMPARE(changed.size(), 0);
}

void TestTranspositionPage::enciphersAndDeciphersBack_data() {
    QTest::addColumn<QString>("key");
    QTest::newRow("4 columns") << "3 1 4 2";
    QTest::newRow("a keyword") << "tavolo";
    QTest::newRow("12 columns") << "12 1 11 2 10 3 9 4 8 5 7 6";
    QTest::newRow("2 rails") << "staccionata 2";
    QTest::newRow("20 rails") << "staccionata 20";
}

void TestTranspositionPage::enciphersAndDeciphersBack() {
    QFETCH(QString, key);
    const QByteArray plain = ItalianPassage();
    Take(plain);
    QCOMPARE(page_->SetKeyText(key), std::nullopt);
    QVERIFY(page_->EncryptKeepsLayout());
    const QByteArray cipher = QByteArray::fromStdString(page_->Encrypt(plain.toStdString()));
    QVERIFY(cipher != plain);
    // Only the letters move: every other byte, and the case of each place, stay.
    static const QRegularExpression small(QStringLiteral("[a-z]"));
    static const QRegularExpression capital(QStringLiteral("[A-Z]"));
    QCOMPARE(QString::fromUtf8(cipher).replace(small, QStringLiteral("x")).replace(capital, "X"),
             QString::fromUtf8(plain).replace(small, QStringLiteral("x")).replace(capital, "X"));
    const QString text = page_->KeyText();
    Take(cipher);
    QCOMPARE(page_->SetKeyText(text), std::nullopt);
    QCOMPARE(Plain(), QString::fromUtf8(plain));
    QCOMPARE(page_->PlainCounts(), CipherText(plain.toStdString()).counts());
}

void TestTranspositionPage::theKeyboardMovesAColumn_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("moved");
    QTest::addColumn<int>("chosen"); // the grid's column chosen afterwards
    QTest::newRow("second column left") << 1 << int(Qt::Key_Left) << "1 3 4 2" << 0;
    QTest::newRow("second column right") << 1 << int(Qt::Key_Right) << "3 4 1 2" << 2;
    QTest::newRow("last column right, at the edge") << 3 << int(Qt::Key_Right) << "3 1 4 2" << 3;
    QTest::newRow("first column left, at the edge") << 0 << int(Qt::Key_Left) << "3 1 4 2" << 0;
}

void TestTranspositionPage::theKeyboardMovesAColumn() {
    QFETCH(int, column);
    QFETCH(int, key);
    QFETCH(QString, moved);
    QFETCH(int, chosen);
    // 4 columns of 5, 5, 4 and 4 letters: a column crossing to the short ones loses a letter.
    Take("Abcde fghij klmno pqr!");
    QCOMPARE(page_->SetKeyText(QStringLiteral("3 1 4 2")), std::nullopt);
    Grid()->setFocus();
    Grid()->setCurrentCell(0, column);
    QTest::keyClick(Grid(), Qt::Key(key), Qt::AltModifier);
    QCOMPARE(page_->KeyText(), moved);
    QCOMPARE(Grid()->currentColumn(), chosen);
    // The grid's headers are the ranks, and its rows read as the plaintext does.
    QStringList headers;
    for (int c = 0; c < Grid()->columnCount(); ++c) {
        headers << Grid()->horizontalHeaderItem(c)->text();
    }
    QCOMPARE(headers.join(QLatin1Char(' ')), moved);
    QString rows;
    for (int r = 0; r < Grid()->rowCount(); ++r) {
        for (int c = 0; c < Grid()->columnCount(); ++c) {
            rows += Grid()->item(r, c) != nullptr ? Grid()->item(r, c)->text() : QString();
        }
    }
    QCOMPARE(rows, Plain().remove(QRegularExpression(QStringLiteral("[^A-Za-z]"))).toUpper());
    // Arrows alone walk the grid and leave the key.
    QTest::keyClick(Grid(), Qt::Key_Left);
    QCOMPARE(page_->KeyText(), moved);
}

void TestTranspositionPage::draggingAHeaderMovesItsColumn() {
    Take("Abcde fghij klmno pqr!");
    QCOMPARE(page_->SetKeyText(QStringLiteral("3 1 4 2")), std::nullopt);
    QSignalSpy changed(page_, &CipherPage::keyChanged);
    // The first column dropped after the third.
    Grid()->horizontalHeader()->moveSection(0, 2);
    QCOMPARE(page_->KeyText(), QStringLiteral("1 4 3 2"));
    QCOMPARE(changed.size(), 1);
    // The header is back in its places, its labels the new ranks.
    for (int c = 0; c < 4; ++c) {
        QCOMPARE(Grid()->horizontalHeader()->visualIndex(c), c);
    }
    QCOMPARE(Grid()->horizontalHeaderItem(1)->text(), QStringLiteral("4"));
}

void TestTranspositionPage::randomKeysHaveTheLengthAsked_data() {
    QTest::addColumn<bool>("railFence");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("drawn"); // columns or rails; 0: any the page allows
    QTest::newRow("7 columns") << false << 7 << 7;
    QTest::newRow("no length: 6 columns") << false << 0 << 6;
    QTest::newRow("past the most columns") << false << 20 << 12;
    QTest::newRow("9 rails") << true << 9 << 9;
    QTest::newRow("20 rails") << true << 20 << 20;
    QTest::newRow("no length: some rails") << true << 0 << 0;
}

void TestTranspositionPage::randomKeysHaveTheLengthAsked() {
    QFETCH(bool, railFence);
    QFETCH(int, length);
    QFETCH(int, drawn);
    Take("Testo di prova.");
    if (railFence) {
        Find<QRadioButton>("optStaccionata")->click();
    }
    std::mt19937_64 random(11);
    page_->RandomKey(random, KeyOptions{length});
    const QString key = page_->KeyText();
    if (railFence) {
        QVERIFY2(key.startsWith(QLatin1String("staccionata ")), qPrintable(key));
        const int rails = key.mid(12).toInt();
        QVERIFY(drawn == 0 ? rails >= RailFenceKey::kFewest && rails <= RailFenceKey::kMost
                           : rails == drawn);
    } else {
        QCOMPARE(int(key.split(QLatin1Char(' ')).size()), drawn);
        QCOMPARE(Find<QSpinBox>("spnColonne")->value(), drawn);
    }
    // A drawn key is a key the page reads back.
    QCOMPARE(page_->SetKeyText(key), std::nullopt);
    QCOMPARE(page_->KeyText(), key);
}

void TestTranspositionPage::theWorkbenchShowsThePlaintextAsTheKeyChanges() {
    const QByteArray plain = ItalianPassage();
    std::string cipher;
    ColumnarKey::Parse("4 1 6 2 5 3").key().Encrypt(plain.toStdString(), cipher);
    auto text = std::make_shared<CipherText>(cipher);
    AnalysisModel model;
    model.SetResult(AnalysisResult{QStringLiteral("colonne.txt"), false,
                                   Analysis{text->counts(), text->total(), {}, text, nullptr}});
    FDecifra bench(model, messages_);
    bench.show();
    bench.ShowPage(QStringLiteral("trasposizione"));
    const auto* tabs = bench.findChild<QTabWidget*>(QStringLiteral("tabModi"));
    QCOMPARE(tabs->tabText(tabs->currentIndex()), QStringLiteral("Trasposizione"));
    // The key the page starts from: two columns read left to right.
    std::string two;
    ColumnarKey().Decrypt(cipher, two);
    QCOMPARE(bench.PlainText(), QString::fromUtf8(two));
    // Typed a character at a time, the key is applied as soon as it makes one.
    auto* order = bench.findChild<QLineEdit*>(QStringLiteral("txtOrdine"));
    order->selectAll();
    TypeKeys(order, QStringLiteral("4 1 6 2 5 3"));
    QCOMPARE(bench.KeyText(), QStringLiteral("4 1 6 2 5 3"));
    QCOMPARE(bench.PlainText(), QString::fromUtf8(plain));
    // A column moved in the grid changes the plaintext; Annulla modifica brings it back.
    auto* grid = bench.findChild<QTableWidget*>(QStringLiteral("tblGriglia"));
    grid->setCurrentCell(0, 2);
    QTest::keyClick(grid, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(bench.KeyText(), QStringLiteral("4 1 2 6 5 3"));
    QVERIFY(bench.PlainText() != QString::fromUtf8(plain));
    bench.Undo();
    QCOMPARE(bench.KeyText(), QStringLiteral("4 1 6 2 5 3"));
    QCOMPARE(bench.PlainText(), QString::fromUtf8(plain));
    // The workbench gives the page its language's quadgrams: the search runs from the window.
    QCOMPARE(bench.ShowKey(QStringLiteral("trasposizione"), QStringLiteral("1 2")), std::nullopt);
    QSignalSpy shown(&bench, &FDecifra::plainTextShown);
    QTest::mouseClick(
        bench.findChild<QPushButton*>(QStringLiteral("cmdMigliorChiaveTrasposizione")),
        Qt::LeftButton);
    QVERIFY(shown.wait(60000));
    QCOMPARE(bench.KeyText(), QStringLiteral("4 1 6 2 5 3"));
    QCOMPARE(bench.PlainText(), QString::fromUtf8(plain));
}

QTEST_MAIN(TestTranspositionPage)
#include "tst_transposition_page.moc"
