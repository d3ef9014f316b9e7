#include "exercise.h"
#include "exercise_check.h"
#include "exercise_file.h"
#include "letter_groups.h"

#include <QTest>

using namespace tallivo;

namespace {

const std::vector<std::string> kCiphers{"cesare", "sostituzione", "vigenere"};

Exercise Sample() {
    Exercise exercise;
    exercise.cipher = "vigenere";
    exercise.key = "LEMON";
    exercise.source = "Rosetta";
    exercise.difficulty = Difficulty{120, false, 5};
    exercise.ciphertext = "LXFOP VEFRN\nHR";
    exercise.plaintext = "attac katda\nwn";
    return exercise;
}

QByteArray B(const std::string& text) {
    return QByteArray::fromStdString(text);
}

std::string Header(const std::string& body) {
    return "tallivo-esercizio 1\n" + body;
}

const std::string kFields = "cifrario=cesare\nchiave=d\nfonte=x\nlettere=20\nspazi=no\n"
                            "lunghezza-chiave=0\n";

} // namespace

class TestExercise : public QObject {
    Q_OBJECT

private slots:
    void fileRoundTrip_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QByteArray>("ciphertext");
        QTest::newRow("groups") << "LEMON"
                                << "Rosetta" << QByteArray("LXFOP VEFRN\nHR");
        // Texts that look like header lines, an empty line or the magic stay text.
        QTest::newRow("header-like text")
            << "d"
            << "città è" << QByteArray("chiave=x\n\ntallivo-esercizio 2\n");
        QTest::newRow("empty key and source") << ""
                                              << "" << QByteArray("\n");
        QTest::newRow("key with =") << "a=b"
                                    << "f=g" << QByteArray("abc");
    }
    void fileRoundTrip() {
        QFETCH(QString, key);
        QFETCH(QString, source);
        QFETCH(QByteArray, ciphertext);
        Exercise exercise = Sample();
        exercise.key = key.toStdString();
        exercise.source = source.toStdString();
        exercise.ciphertext = ciphertext.toStdString();
        const ExerciseReading read = ReadExercise(WriteExercise(exercise), kCiphers);
        QVERIFY2(read.exercise.has_value(), read.message.c_str());
        QVERIFY(*read.exercise == exercise);
    }

    void lineEndsInHeaderBecomeSpaces() {
        Exercise exercise = Sample();
        exercise.source = "due\nrighe\r";
        const ExerciseReading read = ReadExercise(WriteExercise(exercise), kCiphers);
        QVERIFY(read.exercise.has_value());
        QCOMPARE(read.exercise->source, std::string("due righe "));
    }

    void refusal_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("said");
        const auto e = [](ExerciseFileError error) { return int(error); };
        const std::string good = kFields + "cifrato=3\nchiaro=3\n\nGHIdef";
        QTest::newRow("empty") << QByteArray() << e(ExerciseFileError::WrongMagic) << "prima riga";
        QTest::newRow("other text") << QByteArray("Caro diario\n")
                                    << e(ExerciseFileError::WrongMagic) << "non è un esercizio";
        QTest::newRow("magic alone")
            << B("tallivo-esercizio\n" + good) << e(ExerciseFileError::WrongMagic) << "prima riga";
        QTest::newRow("later version") << B("tallivo-esercizio 2\n" + good)
                                       << e(ExerciseFileError::UnknownVersion) << "versione";
        QTest::newRow("bad utf-8")
            << B(Header(good + "\xC3(")) << e(ExerciseFileError::BadUtf8) << "UTF-8";
        QTest::newRow("unknown line")
            << B(Header("comando=rm\n" + good)) << e(ExerciseFileError::BadLine) << "comando=rm";
        QTest::newRow("line without =")
            << B(Header("cifrario\n" + good)) << e(ExerciseFileError::BadLine) << "cifrario";
        QTest::newRow("duplicate") << B(Header("chiave=e\n" + good))
                                   << e(ExerciseFileError::DuplicateField) << "due volte";
        QTest::newRow("missing key")
            << B(Header("cifrario=cesare\nfonte=x\nlettere=20\nspazi=no\n"
                        "lunghezza-chiave=0\ncifrato=3\nchiaro=3\n\nGHIdef"))
            << e(ExerciseFileError::MissingField) << "chiave";
        QTest::newRow("no body") << B(Header(kFields + "cifrato=3\nchiaro=3\n"))
                                 << e(ExerciseFileError::BadLength) << "manca il testo";
        QTest::newRow("too few letters")
            << B(Header("cifrario=cesare\nchiave=d\nfonte=x\nlettere=19\nspazi=no\n"
                        "lunghezza-chiave=0\ncifrato=3\nchiaro=3\n\nGHIdef"))
            << e(ExerciseFileError::BadValue) << "numero";
        QTest::newRow("spaces neither")
            << B(Header(good).replace(Header(good).find("spazi=no"), 8, "spazi=forse"))
            << e(ExerciseFileError::BadValue) << "spazi";
        QTest::newRow("negative length") << B(Header(kFields + "cifrato=-3\nchiaro=3\n\nGHIdef"))
                                         << e(ExerciseFileError::BadValue) << "numero";
        QTest::newRow("cut short") << B(Header(good.substr(0, good.size() - 1)))
                                   << e(ExerciseFileError::BadLength) << "troncato";
        QTest::newRow("longer") << B(Header(good + "x")) << e(ExerciseFileError::BadLength)
                                << "troncato";
        QTest::newRow("windows line ends")
            << B(Header(good)).replace("\n", "\r\n") << e(ExerciseFileError::BadLine) << "CR LF";
        QTest::newRow("unknown cipher")
            << B(Header(good).replace(Header(good).find("cesare"), 6, "enigma"))
            << e(ExerciseFileError::UnknownCipher) << "«enigma»";
    }
    void refusal() {
        QFETCH(QByteArray, file);
        QFETCH(int, error);
        QFETCH(QString, said);
        const ExerciseReading read = ReadExercise(file.toStdString(), kCiphers);
        QVERIFY(!read.exercise.has_value());
        QCOMPARE(int(read.error), error);
        QVERIFY2(QString::fromStdString(read.message).contains(said), read.message.c_str());
    }

    void refusesOverTheLimitBeforeParsing() {
        std::string file = WriteExercise(Sample());
        file.resize(kExerciseFileLimit + 1, 'a');
        const ExerciseReading read = ReadExercise(file, kCiphers);
        QCOMPARE(int(read.error), int(ExerciseFileError::TooLarge));
        file.resize(kExerciseFileLimit);
        QVERIFY(ReadExercise(file, kCiphers).error != ExerciseFileError::TooLarge);
    }

    void check_data() {
        QTest::addColumn<QByteArray>("hidden");
        QTest::addColumn<QByteArray>("student");
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("total");
        QTest::newRow("all") << QByteArray("ciao, mondo") << QByteArray("ciao, mondo") << 9 << 9;
        QTest::newRow("case") << QByteArray("Ciao") << QByteArray("cIAO") << 4 << 4;
        QTest::newRow("one wrong") << QByteArray("ciao") << QByteArray("ciap") << 3 << 4;
        // A letter the key leaves open is written as a control byte.
        QTest::newRow("open letters") << QByteArray("ciao")
                                      << QByteArray("c\x01"
                                                    "a\x01",
                                                    4)
                                      << 2 << 4;
        QTest::newRow("punctuation not counted")
            << QByteArray("a.b") << QByteArray("a,b") << 2 << 2;
        QTest::newRow("student shorter") << QByteArray("abcdef") << QByteArray("abc") << 3 << 6;
        QTest::newRow("student longer") << QByteArray("abc") << QByteArray("abcdef") << 3 << 3;
        QTest::newRow("accent bytes not letters")
            << QByteArray("perch\xC3\xA9") << QByteArray("perch\xC3\xA8") << 5 << 5;
        QTest::newRow("no letters") << QByteArray("12 34") << QByteArray("12 34") << 0 << 0;
    }
    void check() {
        QFETCH(QByteArray, hidden);
        QFETCH(QByteArray, student);
        QFETCH(int, right);
        QFETCH(int, total);
        const CheckResult result = CheckPlainText(hidden.toStdString(), student.toStdString());
        QCOMPARE(result.right, right);
        QCOMPARE(result.total, total);
        QCOMPARE(result.Solved(), total > 0 && right == total);
    }

    void groups_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("groups");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("no letters") << QByteArray("12, 3!") << QByteArray();
        QTest::newRow("five exactly") << QByteArray("ab cd-e") << QByteArray("ABCDE");
        QTest::newRow("six") << QByteArray("abcdef") << QByteArray("ABCDE F");
        QTest::newRow("accent left out") << QByteArray("citt\xC3\xA0 su") << QByteArray("CITTS U");
        const QByteArray fifty(50, 'a');
        QByteArray line = "AAAAA";
        for (int i = 1; i < 10; ++i) {
            line += " AAAAA";
        }
        QTest::newRow("ten groups, one line") << fifty << line;
        QTest::newRow("fifty-one") << fifty + "b" << line + "\nB";
    }
    void groups() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, groups);
        QCOMPARE(QByteArray::fromStdString(GroupsOfFive(text.toStdString())), groups);
    }

    void plainText_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("letters");
        QTest::addColumn<bool>("spaces");
        QTest::addColumn<QByteArray>("plain");
        QTest::newRow("cut") << QByteArray("Il sole, la luna.") << 8 << true
                             << QByteArray("Il sole, la");
        QTest::newRow("letters only")
            << QByteArray("Il sole, la luna.") << 6 << false << QByteArray("ilsole");
        QTest::newRow("accents become letters")
            << QByteArray("Citt\xC3\xA0 \xC3\x88 qui") << 9 << true << QByteArray("Citta E qui");
        QTest::newRow("shorter text") << QByteArray("ab") << 100 << false << QByteArray("ab");
        QTest::newRow("no letters") << QByteArray("1, 2, 3") << 10 << true << QByteArray();
        QTest::newRow("lone lead byte") << QByteArray("a\xC3") << 10 << true << QByteArray("a\xC3");
    }
    void plainText() {
        QFETCH(QByteArray, text);
        QFETCH(int, letters);
        QFETCH(bool, spaces);
        QFETCH(QByteArray, plain);
        QCOMPARE(QByteArray::fromStdString(ExercisePlainText(text.toStdString(), letters, spaces)),
                 plain);
    }
};

QTEST_APPLESS_MAIN(TestExercise)
#include "tst_exercise.moc"
