#include "substitution_hint.h"
#include "substitution_solver.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace tallivo;

namespace {

// Texts written for these tests.
const char* const kItalian =
    "ogni mattina il fornaio apre la bottega prima che il sole sorga e il profumo del pane "
    "caldo riempie la strada. i primi clienti sono gli operai che vanno al cantiere, poi "
    "arrivano le madri con i bambini che devono andare a scuola. verso mezzogiorno la bottega "
    "si svuota e il fornaio si siede sulla panca davanti alla porta per leggere il giornale e "
    "salutare chi passa.";
const char* const kEnglish =
    "every evening the old fisherman walked down to the harbour to look at the sea. he knew "
    "the name of every boat and the story of every sailor who had ever left the village. when "
    "the children asked him about the storms of his youth, he smiled and told them that the "
    "sea keeps its secrets for those who are patient enough to listen.";

// Where each plaintext letter goes: a to q, b to w, ...
constexpr std::string_view kScramble = "qwertyuiopasdfghjklzxcvbnm";

std::string Encrypt(std::string_view plain) {
    std::string cipher(plain);
    for (char& c : cipher) {
        if (c >= 'a' && c <= 'z') {
            c = kScramble[std::size_t(c - 'a')];
        }
    }
    return cipher;
}

// The key that undoes Encrypt.
SubstitutionKey TrueKey() {
    SubstitutionKey key;
    for (int plain = 0; plain < 26; ++plain) {
        key.Assign(kScramble[std::size_t(plain)] - 'a', plain);
    }
    return key;
}

// The letters alone, in groups of five.
std::string Grouped(std::string_view text) {
    std::string grouped;
    int letters = 0;
    for (const char c : text) {
        if (c >= 'a' && c <= 'z') {
            if (letters > 0 && letters % 5 == 0) {
                grouped.push_back(' ');
            }
            grouped.push_back(c);
            ++letters;
        }
    }
    return grouped;
}

std::string Decrypt(std::string_view cipher, const SubstitutionKey& key) {
    std::string plain(cipher);
    for (char& c : plain) {
        if (c >= 'a' && c <= 'z') {
            const int p = key.PlainOf(c - 'a');
            c = p == SubstitutionKey::kNone ? '?' : char('a' + p);
        }
    }
    return plain;
}

int Cipher(char plain) {
    return kScramble[std::size_t(plain - 'a')] - 'a';
}

LetterLocks Locks(std::initializer_list<int> letters) {
    LetterLocks locks{};
    for (const int letter : letters) {
        locks[std::size_t(letter)] = true;
    }
    return locks;
}

} // namespace

class TestSubstitutionSolver : public QObject {
    Q_OBJECT

private slots:
    void solverRecoversAText_data();
    void solverRecoversAText();
    void solverKeepsLockedLetters();
    void progressRisesToOneAndStopCutsShort();
    void keyScoreIsTheMeanOfCompleteQuadgrams();
    void hintIsRightAndItsReasonHolds_data();
    void hintIsRightAndItsReasonHolds();
    void hintCorrectsAWrongLetterButNotALockedOne();
};

void TestSubstitutionSolver::solverRecoversAText_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("plain");
    QTest::newRow("Italian, word spaces") << Language::Italian << kItalian;
    QTest::newRow("Italian, groups")
        << Language::Italian << QString::fromStdString(Grouped(kItalian));
    QTest::newRow("English, word spaces") << Language::English << kEnglish;
    QTest::newRow("English, groups")
        << Language::English << QString::fromStdString(Grouped(kEnglish));
}

void TestSubstitutionSolver::solverRecoversAText() {
    QFETCH(Language, language);
    QFETCH(QString, plain);
    const std::string cipher = Encrypt(plain.toStdString());
    const SubstitutionText text(cipher);
    const SolveResult solved = SolveSubstitution(text, SubstitutionKey{}, LetterLocks{},
                                                 LanguageModel::Get(language), std::stop_token{});
    QCOMPARE(QString::fromStdString(Decrypt(cipher, solved.key)), plain);
    QVERIFY(!solved.stopped);
    QCOMPARE(solved.score, KeyScore(text, TrueKey(), LanguageModel::Get(language)));
}

void TestSubstitutionSolver::solverKeepsLockedLetters() {
    const std::string cipher = Encrypt(kItalian);
    // Locked wrong: the cipher letter of e stands for a, that of a for e.
    SubstitutionKey start;
    start.Assign(Cipher('e'), 'a' - 'a');
    start.Assign(Cipher('a'), 'e' - 'a');
    start.Assign(Cipher('o'), 'u' - 'a'); // wrong too, but not locked
    const SolveResult solved =
        SolveSubstitution(SubstitutionText(cipher), start, Locks({Cipher('e'), Cipher('a')}),
                          LanguageModel::Get(Language::Italian), std::stop_token{});
    QCOMPARE(solved.key.PlainOf(Cipher('e')), 'a' - 'a');
    QCOMPARE(solved.key.PlainOf(Cipher('a')), 'e' - 'a');
    QCOMPARE(solved.key.PlainOf(Cipher('o')), 'o' - 'a');
    for (int c = 0; c < 26; ++c) {
        if (c != Cipher('e') && c != Cipher('a')) {
            QVERIFY(solved.key.PlainOf(c) != 'a' - 'a' && solved.key.PlainOf(c) != 'e' - 'a');
        }
    }
}

void TestSubstitutionSolver::progressRisesToOneAndStopCutsShort() {
    const SubstitutionText text(Encrypt(kEnglish));
    const LanguageModel& english = LanguageModel::Get(Language::English);
    std::vector<double> shares;
    SolveSubstitution(text, SubstitutionKey{}, LetterLocks{}, english, std::stop_token{},
                      [&shares](double share) { shares.push_back(share); });
    QVERIFY(shares.size() >= 2);
    QVERIFY(std::is_sorted(shares.begin(), shares.end()));
    QCOMPARE(shares.back(), 1.0);

    std::stop_source stop;
    stop.request_stop();
    SubstitutionKey start;
    start.Assign(3, 7);
    const SolveResult cut = SolveSubstitution(text, start, Locks({3}), english, stop.get_token());
    QVERIFY(cut.stopped);
    QCOMPARE(cut.climbs, 0);
    QCOMPARE(cut.key.PlainOf(3), 7);
}

void TestSubstitutionSolver::keyScoreIsTheMeanOfCompleteQuadgrams() {
    const LanguageModel& italian = LanguageModel::Get(Language::Italian);
    const auto q = [&italian](const char* g) {
        return double(italian.Quadgram(g[0] - 'a', g[1] - 'a', g[2] - 'a', g[3] - 'a'));
    };
    SubstitutionKey identity;
    for (const char c : std::string_view("case")) {
        identity.Assign(c - 'a', c - 'a');
    }
    // "casa, casa e": e is the only letter left out when it is unassigned.
    const SubstitutionText text("casa, casa e");
    const double all = (q("casa") + q("asac") + q("saca") + q("acas") + q("casa") + q("asae")) / 6;
    QVERIFY(std::abs(KeyScore(text, identity, italian) - all) < 1e-6);
    SubstitutionKey withoutE = identity;
    withoutE.Assign('e' - 'a', SubstitutionKey::kNone);
    const double firstFive = (q("casa") + q("asac") + q("saca") + q("acas") + q("casa")) / 5;
    QVERIFY(std::abs(KeyScore(text, withoutE, italian) - firstFive) < 1e-6);
    SubstitutionKey withoutS = identity;
    withoutS.Assign('s' - 'a', SubstitutionKey::kNone);
    QCOMPARE(KeyScore(text, withoutS, italian), 0.0); // no four assigned letters in a row
    QCOMPARE(KeyScore(text, identity, italian, 4), q("casa"));
}

void TestSubstitutionSolver::hintIsRightAndItsReasonHolds_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<bool>("wordSpaces");
    QTest::newRow("Italian, word spaces") << Language::Italian << kItalian << true;
    QTest::newRow("Italian, groups")
        << Language::Italian << QString::fromStdString(Grouped(kItalian)) << false;
    QTest::newRow("English, word spaces") << Language::English << kEnglish << true;
}

void TestSubstitutionSolver::hintIsRightAndItsReasonHolds() {
    QFETCH(Language, language);
    QFETCH(QString, plain);
    QFETCH(bool, wordSpaces);
    const std::string cipher = Encrypt(plain.toStdString());
    const SubstitutionText text(cipher);
    const LanguageModel& model = LanguageModel::Get(language);
    const SubstitutionHint hint = SuggestAssignment(text, SubstitutionKey{}, LetterLocks{}, model);
    QCOMPARE(hint.status, SubstitutionHint::Status::Found);
    QCOMPARE(hint.assignment.plain, TrueKey().PlainOf(hint.assignment.cipher));
    QCOMPARE(hint.replaces, SubstitutionKey::kNone);
    QCOMPARE(hint.takenFrom, SubstitutionKey::kNone);
    QVERIFY(hint.margin > 0.0);

    // The reason's cipher letters hold the hint's letter, decipher to its plaintext and occur
    // as often as it says.
    const HintReason& reason = hint.reason;
    QVERIFY(reason.cipher.find(char('A' + hint.assignment.cipher)) != std::string::npos);
    std::string lower = reason.cipher;
    for (char& c : lower) {
        c = char(c - 'A' + 'a');
    }
    QCOMPARE(Decrypt(lower, TrueKey()), reason.plain);
    QVERIFY(wordSpaces || reason.evidence != HintReason::Evidence::ShortWord);
    std::uint64_t count = 0;
    if (reason.evidence == HintReason::Evidence::ShortWord) {
        for (const SubstitutionText::Word& word : text.words()) {
            std::string spelled;
            for (std::size_t i = 0; i < word.length; ++i) {
                spelled.push_back(char('a' + text.letters()[word.first + i]));
            }
            count += spelled == lower ? 1 : 0;
        }
    } else {
        std::string letters;
        for (const std::uint8_t letter : text.letters()) {
            letters.push_back(char('a' + letter));
        }
        for (std::size_t at = letters.find(lower); at != std::string::npos;
             at = letters.find(lower, at + 1)) {
            ++count;
        }
    }
    QCOMPARE(reason.count, count);
    QVERIFY(reason.textRank >= 1 && reason.languageRank >= 1 && reason.languagePercent > 0.0);
}

void TestSubstitutionSolver::hintCorrectsAWrongLetterButNotALockedOne() {
    const std::string cipher = Encrypt(kItalian);
    const SubstitutionText text(cipher);
    const LanguageModel& italian = LanguageModel::Get(Language::Italian);
    QCOMPARE(SuggestAssignment(text, TrueKey(), LetterLocks{}, italian).status,
             SubstitutionHint::Status::KeyAgrees);
    QCOMPARE(
        SuggestAssignment(SubstitutionText("12, 34"), SubstitutionKey{}, LetterLocks{}, italian)
            .status,
        SubstitutionHint::Status::NoLetters);

    // r and l swapped: the hint puts one of them right, and says what it replaces.
    SubstitutionKey swapped = TrueKey();
    swapped.Assign(Cipher('r'), 'l' - 'a');
    swapped.Assign(Cipher('l'), 'r' - 'a');
    const SubstitutionHint hint = SuggestAssignment(text, swapped, LetterLocks{}, italian);
    QCOMPARE(hint.status, SubstitutionHint::Status::Found);
    const bool r = hint.assignment.cipher == Cipher('r');
    QVERIFY(r || hint.assignment.cipher == Cipher('l'));
    QCOMPARE(hint.assignment.plain, r ? 'r' - 'a' : 'l' - 'a');
    QCOMPARE(hint.replaces, r ? 'l' - 'a' : 'r' - 'a');
    QCOMPARE(hint.takenFrom, r ? Cipher('l') : Cipher('r'));

    // With only e missing, the one-letter word "e" says it (three times, as often as "che").
    SubstitutionKey withoutE = TrueKey();
    withoutE.Assign(Cipher('e'), SubstitutionKey::kNone);
    const SubstitutionHint e = SuggestAssignment(text, withoutE, LetterLocks{}, italian);
    QCOMPARE(e.assignment.plain, 'e' - 'a');
    QCOMPARE(e.reason.evidence, HintReason::Evidence::ShortWord);
    QCOMPARE(e.reason.plain, std::string("e"));
    QCOMPARE(e.reason.count, std::uint64_t(3));
    QCOMPARE(e.reason.languageRank, 1);

    // Locked, the same swap is the student's to keep.
    QCOMPARE(SuggestAssignment(text, swapped, Locks({Cipher('r'), Cipher('l')}), italian).status,
             SubstitutionHint::Status::KeyAgrees);
}

QTEST_GUILESS_MAIN(TestSubstitutionSolver)
#include "tst_substitution_solver.moc"
