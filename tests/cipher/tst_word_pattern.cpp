#include "probable_word.h"
#include "word_pattern.h"

#include <QTest>

#include <algorithm>

using namespace tallivo;

namespace {

// A key written as pairs, cipher letter then plaintext letter: "xe qa" for x to e, q to a.
SubstitutionKey Key(const QString& pairs) {
    SubstitutionKey key;
    for (const QString& pair : pairs.split(' ', Qt::SkipEmptyParts)) {
        key.Assign(pair[0].unicode() - 'a', pair[1].unicode() - 'a');
    }
    return key;
}

LetterLocks Locks(const QString& letters) {
    LetterLocks locks{};
    for (const QChar c : letters) {
        locks[std::size_t(c.unicode() - 'a')] = true;
    }
    return locks;
}

QStringList Words(const PatternMatches& found) {
    QStringList words;
    for (const PatternMatch& match : found.matches) {
        words << QString::fromStdString(match.word);
    }
    return words;
}

// The fits as "letter:agreeing/changing".
QStringList Fits(const ProbableWordFits& found) {
    QStringList fits;
    for (const ProbableWordFit& fit : found.fits) {
        fits << QStringLiteral("%1:%2/%3").arg(fit.letter).arg(fit.agreeing).arg(fit.changing);
    }
    return fits;
}

const LanguageModel& Italian() {
    return LanguageModel::Get(Language::Italian);
}

} // namespace

class TestWordPattern : public QObject {
    Q_OBJECT

private slots:
    void patternsNumberLettersByFirstAppearance_data();
    void patternsNumberLettersByFirstAppearance();
    void wordsOfTheShapeAgreeWithTheKey_data();
    void wordsOfTheShapeAgreeWithTheKey();
    void patternMatchesMostFrequentFirstWithTheirAssignments();
    void badCipherWordsAreTold_data();
    void badCipherWordsAreTold();
    void probableWordFitsWhereTheShapeAgrees_data();
    void probableWordFitsWhereTheShapeAgrees();
    void probableWordFitSpansTheBytesOfItsLetters();
    void badProbableWordsAreTold_data();
    void badProbableWordsAreTold();
};

void TestWordPattern::patternsNumberLettersByFirstAppearance_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QList<int>>("pattern");
    QTest::newRow("ABBA") << "XQQX" << QList<int>{0, 1, 1, 0};
    QTest::newRow("the same in plaintext") << "alla" << QList<int>{0, 1, 1, 0};
    QTest::newRow("all different") << "che" << QList<int>{0, 1, 2};
    QTest::newRow("case does not count") << "AaA" << QList<int>{0, 0, 0};
    QTest::newRow("nothing") << "" << QList<int>{};
}

void TestWordPattern::patternsNumberLettersByFirstAppearance() {
    QFETCH(QString, word);
    QFETCH(QList<int>, pattern);
    const std::vector<std::uint8_t> got = LetterPattern(WordLetters(word.toStdString()));
    QCOMPARE(QList<int>(got.begin(), got.end()), pattern);
}

void TestWordPattern::wordsOfTheShapeAgreeWithTheKey_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("locked");
    QTest::addColumn<bool>("locksOnly");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    // ABBA: "alla", "esse", "otto"; "ella" is ABBC.
    const QStringList all{"alla", "esse", "otto"};
    const QString none;
    QTest::newRow("empty key") << none << none << false << all << QStringList{"ella"};
    QTest::newRow("x is e") << "xe" << none << false << QStringList{"esse"}
                            << QStringList{"alla", "otto"};
    QTest::newRow("l is taken by b")
        << "bl" << none << false << QStringList{"esse", "otto"} << QStringList{"alla"};
    QTest::newRow("b not locked, locks only") << "bl" << none << true << all << QStringList{};
    QTest::newRow("b locked, locks only")
        << "bl"
        << "b" << true << QStringList{"esse", "otto"} << QStringList{"alla"};
    QTest::newRow("x and q assigned")
        << "xa ql" << none << false << QStringList{"alla"} << QStringList{"esse", "otto"};
}

void TestWordPattern::wordsOfTheShapeAgreeWithTheKey() {
    QFETCH(QString, key);
    QFETCH(QString, locked);
    QFETCH(bool, locksOnly);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    const PatternMatches found = MatchWordPattern(
        "XQQX", Key(key), Locks(locked),
        locksOnly ? PatternConsistency::WithLocks : PatternConsistency::WithKey, Italian(), 1000);
    QCOMPARE(found.status, PatternMatches::Status::Found);
    const QStringList words = Words(found);
    for (const QString& word : present) {
        QVERIFY2(words.contains(word), qPrintable(word));
    }
    for (const QString& word : absent) {
        QVERIFY2(!words.contains(word), qPrintable(word));
    }
    for (const QString& word : words) {
        QCOMPARE(word[1], word[2]);
        QCOMPARE(word[0], word[3]);
        QVERIFY(word[0] != word[1]);
    }
}

void TestWordPattern::patternMatchesMostFrequentFirstWithTheirAssignments() {
    const PatternMatches found =
        MatchWordPattern("XQQX", Key(""), Locks(""), PatternConsistency::WithKey, Italian(), 3);
    QCOMPARE(found.matches.size(), std::size_t(3));
    QVERIFY(found.matches[0].count >= found.matches[1].count);
    QVERIFY(found.matches[1].count >= found.matches[2].count);
    const auto alla = std::find_if(found.matches.begin(), found.matches.end(),
                                   [](const PatternMatch& m) { return m.word == "alla"; });
    QVERIFY(alla != found.matches.end());
    QCOMPARE(alla->assignments, (std::vector<Assignment>{{'x' - 'a', 0}, {'q' - 'a', 'l' - 'a'}}));
}

void TestWordPattern::badCipherWordsAreTold_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<PatternMatches::Status>("status");
    QTest::newRow("empty") << "" << PatternMatches::Status::Empty;
    QTest::newRow("a digit") << "XQ1X" << PatternMatches::Status::NotLetters;
    QTest::newRow("an accented letter") << "XQ\u00c8X" << PatternMatches::Status::NotLetters;
    QTest::newRow("no word has twenty different letters")
        << "ABCDEFGHIJKLMNOPQRST" << PatternMatches::Status::NoMatch;
}

void TestWordPattern::badCipherWordsAreTold() {
    QFETCH(QString, word);
    QFETCH(PatternMatches::Status, status);
    const PatternMatches found = MatchWordPattern(word.toStdString(), Key(""), Locks(""),
                                                  PatternConsistency::WithKey, Italian(), 10);
    QCOMPARE(found.status, status);
    QVERIFY(found.matches.empty());
}

void TestWordPattern::probableWordFitsWhereTheShapeAgrees_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("locked");
    QTest::addColumn<QStringList>("fits");
    const QString spaced = QStringLiteral("la casa che vedi e la casa di chi ama");
    QTest::newRow("spaces: whole words of its shape") << spaced << "che"
                                                      << ""
                                                      << "" << QStringList{"6:0/0", "22:0/0"};
    QTest::newRow("spaces: a lock rules one out") << spaced << "che"
                                                  << "ii"
                                                  << "i" << QStringList{"6:0/0"};
    QTest::newRow("spaces: the same letter unlocked does not")
        << spaced << "che"
        << "ii"
        << "" << QStringList{"6:0/0", "22:0/1"};
    QTest::newRow("spaces: what the key has agrees") << spaced << "che"
                                                     << "cc hh"
                                                     << "" << QStringList{"6:2/0", "22:2/0"};
    QTest::newRow("no spaces: every letter") << "XYXZW"
                                             << "che"
                                             << ""
                                             << "" << QStringList{"1:0/0", "2:0/0"};
    QTest::newRow("no spaces: a repeated letter") << "XYXZW"
                                                  << "ama"
                                                  << ""
                                                  << "" << QStringList{"0:0/0"};
    QTest::newRow("no spaces: a letter held elsewhere changes")
        << "XYXZW"
        << "che"
        << "yc"
        << "" << QStringList{"1:1/0", "2:0/1"};
    QTest::newRow("no spaces: a locked holder rules out") << "XYXZW"
                                                          << "che"
                                                          << "yc"
                                                          << "y" << QStringList{"1:1/0"};
}

void TestWordPattern::probableWordFitsWhereTheShapeAgrees() {
    QFETCH(QString, text);
    QFETCH(QString, word);
    QFETCH(QString, key);
    QFETCH(QString, locked);
    QFETCH(QStringList, fits);
    const ProbableWordFits found = FindProbableWord(
        SubstitutionText(text.toStdString()), word.toStdString(), Key(key), Locks(locked), 100);
    QCOMPARE(found.status, ProbableWordFits::Status::Found);
    QCOMPARE(Fits(found), fits);
    QCOMPARE(found.total, std::size_t(fits.size()));
}

void TestWordPattern::probableWordFitSpansTheBytesOfItsLetters() {
    // In groups of five, "che" at the fourth letter runs across the space.
    ProbableWordFits found =
        FindProbableWord(SubstitutionText("XYXZW QRSTU V"), "che", Key(""), Locks(""), 1);
    QCOMPARE(found.fits.size(), std::size_t(1)); // the limit
    QVERIFY(found.total > 1);
    found = FindProbableWord(SubstitutionText("XYXZW QRSTU V"), "chez", Key(""), Locks(""), 100);
    QCOMPARE(found.fits[1].letter, std::size_t(2));
    QCOMPARE(found.fits[1].byteOffset, std::size_t(2));
    QCOMPARE(found.fits[1].byteLength, std::size_t(5)); // X Z W, the space, Q
    QCOMPARE(found.fits[1].assignments, (std::vector<Assignment>{{'x' - 'a', 'c' - 'a'},
                                                                 {'z' - 'a', 'h' - 'a'},
                                                                 {'w' - 'a', 'e' - 'a'},
                                                                 {'q' - 'a', 'z' - 'a'}}));
}

void TestWordPattern::badProbableWordsAreTold_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("locked");
    QTest::addColumn<ProbableWordFits::Status>("status");
    QTest::newRow("empty") << ""
                           << "" << ProbableWordFits::Status::Empty;
    QTest::newRow("a space") << "di re"
                             << "" << ProbableWordFits::Status::NotLetters;
    QTest::newRow("an apostrophe") << "l'ora"
                                   << "" << ProbableWordFits::Status::NotLetters;
    QTest::newRow("longer than the text") << "abcdef"
                                          << "" << ProbableWordFits::Status::LongerThanText;
    QTest::newRow("no place of its shape") << "aaa"
                                           << "" << ProbableWordFits::Status::NoFit;
    QTest::newRow("every place against a lock") << "che"
                                                << "xyzw" << ProbableWordFits::Status::NoFit;
}

void TestWordPattern::badProbableWordsAreTold() {
    QFETCH(QString, word);
    QFETCH(QString, locked);
    QFETCH(ProbableWordFits::Status, status);
    // Locked, x y z w stand for a b d f: "che" finds no cipher letter free for c, h and e.
    const ProbableWordFits found = FindProbableWord(SubstitutionText("XYXZW"), word.toStdString(),
                                                    Key("xa yb zd wf"), Locks(locked), 100);
    QCOMPARE(found.status, status);
    QVERIFY(found.fits.empty());
}

QTEST_GUILESS_MAIN(TestWordPattern)
#include "tst_word_pattern.moc"
