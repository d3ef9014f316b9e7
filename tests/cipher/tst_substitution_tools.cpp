#include "key_edits.h"
#include "reference_frequencies.h"
#include "substitution_key.h"
#include "substitution_text.h"
#include "text_figures.h"

#include <QTest>

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

LetterLocks Locks(std::string_view letters) {
    LetterLocks locks{};
    for (const char c : letters) {
        locks[std::size_t(c - 'a')] = true;
    }
    return locks;
}

} // namespace

class TestSubstitutionTools : public QObject {
    Q_OBJECT

private slots:
    void wordSpacesAreToldFromGroups_data();
    void wordSpacesAreToldFromGroups();
    void lettersKeepTheirByteOffsets();
    void assignmentsMoveALetterAndSpareLocks_data();
    void assignmentsMoveALetterAndSpareLocks();
    void swapsExchangeTwoLettersUnlessLocked();
    void frequencyProposalKeepsWhatItMust_data();
    void frequencyProposalKeepsWhatItMust();
    void textFiguresCountWhatTheTextShows();
};

void TestSubstitutionTools::wordSpacesAreToldFromGroups_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("spaces");
    QTest::newRow("words") << "la casa che abbiamo comprato" << true;
    QTest::newRow("words broken by punctuation") << "l'altra, perche' no?" << true;
    QTest::newRow("groups of five") << "XQZAB FKRTE MMOPQ RST" << false;
    QTest::newRow("groups of five, last full") << "XQZAB FKRTE MMOPQ" << false;
    QTest::newRow("words all of one short length") << "abc def ghi" << true;
    QTest::newRow("one run") << "lacasacheabbiamocomprato" << false;
    QTest::newRow("a last group longer than the rest") << "XQZAB FKRTE MMOPQRS" << true;
    QTest::newRow("long runs broken by lines") << "lacasacheabbiamo\ncompratosullacollina" << false;
    QTest::newRow("nothing") << "" << false;
}

void TestSubstitutionTools::wordSpacesAreToldFromGroups() {
    QFETCH(QString, text);
    QFETCH(bool, spaces);
    QCOMPARE(SubstitutionText(text.toStdString()).hasWordSpaces(), spaces);
}

void TestSubstitutionTools::lettersKeepTheirByteOffsets() {
    // "è" is two bytes, neither a letter: the word splits there.
    const SubstitutionText text("Ab, c\xC3\xA8"
                                "d");
    QCOMPARE(text.letters(), (std::vector<std::uint8_t>{0, 1, 2, 3}));
    QCOMPARE(text.offsets(), (std::vector<std::uint32_t>{0, 1, 4, 7}));
    QCOMPARE(text.words().size(), std::size_t(3));
    QCOMPARE(text.words()[2].first, std::uint32_t(3));
    QCOMPARE(text.counts()[0], 1);
}

void TestSubstitutionTools::assignmentsMoveALetterAndSpareLocks_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("locked");
    QTest::addColumn<QString>("assigned"); // one pair, as the key
    QTest::addColumn<QString>("expected");
    QTest::newRow("into a gap") << ""
                                << ""
                                << "ae"
                                << "ae";
    QTest::newRow("the holder lets go") << "ae"
                                        << ""
                                        << "be"
                                        << "be";
    QTest::newRow("replacing one made") << "ab bc"
                                        << ""
                                        << "ac"
                                        << "ac";
    QTest::newRow("a locked letter stays") << "ab bc"
                                           << "a"
                                           << "ac"
                                           << "ab bc";
    QTest::newRow("a locked holder keeps its letter") << "ae"
                                                      << "a"
                                                      << "be"
                                                      << "ae";
}

void TestSubstitutionTools::assignmentsMoveALetterAndSpareLocks() {
    QFETCH(QString, key);
    QFETCH(QString, locked);
    QFETCH(QString, assigned);
    QFETCH(QString, expected);
    const std::vector<Assignment> assignments{
        {assigned[0].unicode() - 'a', assigned[1].unicode() - 'a'}};
    const SubstitutionKey result =
        ApplyAssignments(Key(key), Locks(locked.toStdString()), assignments);
    QCOMPARE(result.Text(), Key(expected).Text());
}

void TestSubstitutionTools::swapsExchangeTwoLettersUnlessLocked() {
    SubstitutionKey key = Key("aa bb dd");
    QVERIFY(SwapAssignments(key, Locks(""), 0, 1));
    QCOMPARE(key.Text(), Key("ab ba dd").Text());
    QVERIFY(SwapAssignments(key, Locks(""), 0, 2)); // with an unassigned letter
    QCOMPARE(key.Text(), Key("ba cb dd").Text());
    QVERIFY(!SwapAssignments(key, Locks("d"), 1, 3));
    QCOMPARE(key.Text(), Key("ba cb dd").Text());
    QVERIFY(HasUnlockedAssignments(key, Locks("d")));
    QVERIFY(!HasUnlockedAssignments(Key("dd"), Locks("d")));
}

void TestSubstitutionTools::frequencyProposalKeepsWhatItMust_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("locked");
    QTest::addColumn<bool>("onlyUnassigned");
    QTest::addColumn<QString>("expected");
    // Cipher counts: x 5, q 4, z 3, b 1; a reference whose order is e, a, i, o, then the rest
    // alphabetically.
    QTest::newRow("empty key") << ""
                               << "" << false << "xe qa zi bo";
    QTest::newRow("replacing: only the lock stays") << "xc wt"
                                                    << "x" << false << "xc qe za bi";
    QTest::newRow("filling: every assignment stays") << "qt ye"
                                                     << "" << true << "qt ye xa zi bo";
    QTest::newRow("an unassigned lock is no lock") << ""
                                                   << "x" << true << "xe qa zi bo";
}

void TestSubstitutionTools::frequencyProposalKeepsWhatItMust() {
    QFETCH(QString, key);
    QFETCH(QString, locked);
    QFETCH(bool, onlyUnassigned);
    QFETCH(QString, expected);
    std::vector<std::int32_t> counts(26, 0);
    counts['x' - 'a'] = 5;
    counts['q' - 'a'] = 4;
    counts['z' - 'a'] = 3;
    counts['b' - 'a'] = 1;
    ReferenceTable reference{};
    reference['e' - 'a'] = 12;
    reference['a' - 'a'] = 11;
    reference['i' - 'a'] = 10;
    reference['o' - 'a'] = 9;
    const SubstitutionKey result = ProposeByFrequency(
        counts, reference, Key(key), Locks(locked.toStdString()),
        onlyUnassigned ? FrequencyFill::OnlyUnassigned : FrequencyFill::ReplaceUnlocked);
    QCOMPARE(result.Text(), Key(expected).Text());
    if (key.isEmpty()) {
        QCOMPARE(result, SubstitutionKey::ByFrequency(counts, reference));
    }
}

void TestSubstitutionTools::textFiguresCountWhatTheTextShows() {
    const TextFigures figures = CountTextFigures(SubstitutionText("XQZ ab XQZ XQZX, a LL"), 3);
    QCOMPARE(figures.trigrams[0].letters, std::string("XQZ"));
    QCOMPARE(figures.trigrams[0].count, std::uint64_t(3));
    QCOMPARE(figures.trigrams[1].letters, std::string("QZX")); // across a word space
    QCOMPARE(figures.trigrams[2].letters, std::string("ABX")); // first of the single ones
    QCOMPARE(figures.trigrams.size(), std::size_t(3));
    // 15 letters, 14 bigrams, one doubled letter.
    QCOMPARE(figures.doubled.size(), std::size_t(1));
    QCOMPARE(figures.doubled[0].letters, std::string("LL"));
    QCOMPARE(figures.doubled[0].percent, 100.0 / 14);
    QCOMPARE(figures.shortWords[2][0].letters, std::string("XQZ"));
    QCOMPARE(figures.shortWords[2][0].count, std::uint64_t(2));
    QCOMPARE(figures.shortWords[2][0].percent, 100.0 * 2 / 6);
    QCOMPARE(figures.shortWords[0][0].letters, std::string("A"));
    QCOMPARE(figures.shortWords[1].size(), std::size_t(2)); // AB and LL
    QCOMPARE(figures.shortWords[1][0].letters, std::string("AB"));

    // In groups, words say nothing: no short words.
    const TextFigures grouped = CountTextFigures(SubstitutionText("XQZAB XQZAB XQ"), 10);
    QVERIFY(grouped.shortWords[0].empty() && grouped.shortWords[1].empty());
    QCOMPARE(grouped.trigrams[0].count, std::uint64_t(2));
}

QTEST_GUILESS_MAIN(TestSubstitutionTools)
#include "tst_substitution_tools.moc"
