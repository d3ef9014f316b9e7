#include "fstats.h"
#include "letter_counter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace tallivo;

namespace {

// An analysis of text as a count hands it on.
AnalysisResult Analysed(const std::string& text) {
    AnalysisBuilder builder;
    std::vector<std::int32_t> counts;
    std::int32_t total = 0;
    CountLettersInText(text, counts, total, {}, builder.Prefix());
    return {QStringLiteral("(testo incollato)"), true,
            builder.Finish(std::move(counts), total, {})};
}

TextStatistics Sample() {
    TextStatistics statistics;
    statistics.letters = 12345;
    statistics.coincidence = 0.07123;
    statistics.expectedCoincidence = 0.0738;
    statistics.entropy = 4.0125;
    statistics.chiSquare = 12.34;
    statistics.frequencyOrder = "E A I";
    statistics.bigrams = {{"ER", 12, 0.6}, {"ES", 1234, 0.5799}};
    return statistics;
}

} // namespace

class TestFStats : public QObject {
    Q_OBJECT

private slots:
    void figuresInTheUsersLocale_data();
    void figuresInTheUsersLocale();
    void followsTheModelBesideTheOtherWindows();
};

void TestFStats::figuresInTheUsersLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("C") << QLocale::c()
                       << QStringList{"Lettere:               12345",
                                      "Indice di coincidenza: 0.0712 (italiano 0.0738; testo "
                                      "casuale 0.0385)",
                                      "Entropia:              4.013 bit per lettera",
                                      "Chi quadrato:          12.3 (rispetto a: italiano)",
                                      "  ER     12    0.60%",
                                      "  ES   1234    0.58%"};
    QTest::newRow("Italian") << QLocale(QLocale::Italian, QLocale::Italy)
                             << QStringList{"Lettere:               12.345",
                                            "Indice di coincidenza: 0,0712 (italiano 0,0738; "
                                            "testo casuale 0,0385)",
                                            "Entropia:              4,013 bit per lettera",
                                            "Chi quadrato:          12,3 (rispetto a: italiano)",
                                            "  ER     12    0,60%",
                                            "  ES   1234    0,58%"};
}

void TestFStats::figuresInTheUsersLocale() {
    QFETCH(QLocale, locale);
    QFETCH(QStringList, expected);
    const QStringList lines =
        FStats::Text(Sample(), QStringLiteral("italiano"), locale).split(QLatin1Char('\n'));
    for (const QString& line : expected) {
        QVERIFY2(lines.contains(line),
                 qPrintable(line + QStringLiteral(" not in:\n") + lines.join(QLatin1Char('\n'))));
    }
    // No trigrams, no heading for them; without a reference, no chi-squared.
    QVERIFY(!lines.contains(QStringLiteral("Trigrammi più frequenti:")));
    TextStatistics plain = Sample();
    plain.chiSquare.reset();
    plain.expectedCoincidence.reset();
    QVERIFY(!FStats::Text(plain, QString(), locale).contains(QStringLiteral("Chi quadrato")));
}

void TestFStats::followsTheModelBesideTheOtherWindows() {
    AnalysisModel model;
    model.SetResult(Analysed("Hello World"));
    FStats window(model);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.isModal());
    auto* text = window.findChild<QPlainTextEdit*>(QStringLiteral("txtStats"));
    // "HELLOWORLD": nine bigrams once each, in alphabetical order, EL first.
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("Lettere:               10\n")));
    QVERIFY(text->toPlainText().contains(QStringLiteral("\n  EL   1  ")));
    QVERIFY(!text->toPlainText().contains(QStringLiteral("Chi quadrato")));

    // A new analysis and a reference show at once.
    model.SetResult(Analysed("aaab"));
    model.SetReference(Reference::Of(Reference::Kind::Italian));
    QVERIFY(text->toPlainText().startsWith(QStringLiteral("Lettere:               4\n")));
    QVERIFY(text->toPlainText().contains(QStringLiteral("(rispetto a: italiano)")));

    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdCopia")), Qt::LeftButton);
    QCOMPARE(QGuiApplication::clipboard()->text(), text->toPlainText());
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdChiudi")), Qt::LeftButton);
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(TestFStats)
#include "tst_fstats.moc"
