#include "affine_key.h"
#include "autokey_key.h"
#include "caesar_key.h"
#include "cipher_text.h"
#include "cipher_texts.h"
#include "columnar_key.h"
#include "key_mapping.h"
#include "key_search.h"
#include "letter_layout.h"
#include "periodic_key.h"
#include "playfair_key.h"
#include "rail_fence_key.h"
#include "reference_frequencies.h"
#include "substitution_key.h"

#include <QTest>

#include <random>

using namespace tallivo;

namespace {

// The ciphers, as the tests name them in their rows.
enum class Cipher {
    Caesar,
    Affine,
    Atbash,
    Substitution,
    Vigenere,
    Beaufort,
    VariantBeaufort,
    Autokey,
    Columnar,
    RailFence,
};

PeriodicSense SenseOf(Cipher cipher) {
    return cipher == Cipher::Beaufort          ? PeriodicSense::Beaufort
           : cipher == Cipher::VariantBeaufort ? PeriodicSense::VariantBeaufort
                                               : PeriodicSense::Vigenere;
}

// Encrypts text with a random key of length (where the cipher has one) and returns the
// ciphertext and the text it deciphers to.
std::pair<std::string, std::string> EncryptAndDecrypt(Cipher cipher, int length, std::uint64_t seed,
                                                      const std::string& text) {
    std::mt19937_64 random(seed);
    std::string encrypted;
    std::string decrypted;
    switch (cipher) {
    case Cipher::Caesar: {
        const CaesarKey key = CaesarKey::Random(random);
        key.Encrypt(text, encrypted);
        key.Decrypt(encrypted, decrypted);
        break;
    }
    case Cipher::Affine:
    case Cipher::Atbash: {
        const AffineKey key =
            cipher == Cipher::Atbash ? AffineKey::Atbash() : AffineKey::Random(random);
        key.Encrypt(text, encrypted);
        key.Decrypt(encrypted, decrypted);
        break;
    }
    case Cipher::Substitution: {
        const SubstitutionKey key = SubstitutionKey::Random(random);
        MapBytes(text, SubstitutionTable(key.Inverse(), '?'), encrypted);
        MapBytes(encrypted, SubstitutionTable(key, '?'), decrypted);
        break;
    }
    case Cipher::Vigenere:
    case Cipher::Beaufort:
    case Cipher::VariantBeaufort: {
        const PeriodicKey key = PeriodicKey::Random(SenseOf(cipher), std::size_t(length), random);
        key.Encrypt(text, encrypted);
        key.Decrypt(encrypted, decrypted);
        break;
    }
    case Cipher::Autokey: {
        const AutokeyKey key = AutokeyKey::Random(std::size_t(length), random);
        key.Encrypt(text, encrypted);
        key.Decrypt(encrypted, decrypted);
        break;
    }
    case Cipher::Columnar: {
        const ColumnarKey key = ColumnarKey::Random(std::size_t(length), random);
        key.Encrypt(text, encrypted);
        key.Decrypt(encrypted, decrypted);
        break;
    }
    case Cipher::RailFence: {
        const RailFenceKey key(length);
        key.Encrypt(text, encrypted);
        key.Decrypt(encrypted, decrypted);
        break;
    }
    }
    return {encrypted, decrypted};
}

// The letters of text with every byte that is not a letter left out, case kept.
std::string LettersOf(const std::string& text) {
    std::string letters;
    for (const char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            letters += c;
        }
    }
    return letters;
}

std::string Capitals(const std::vector<std::uint8_t>& letters) {
    std::string text;
    for (const std::uint8_t l : letters) {
        text += char('A' + l);
    }
    return text;
}

std::vector<std::uint8_t> Indices(const std::string& text) {
    std::vector<std::uint8_t> letters;
    for (const char c : text) {
        letters.push_back(std::uint8_t((c | 0x20) - 'a'));
    }
    return letters;
}

} // namespace

Q_DECLARE_METATYPE(Cipher)
Q_DECLARE_METATYPE(KeyError)
Q_DECLARE_METATYPE(PeriodicSense)

class TestCipherKeys : public QObject {
    Q_OBJECT

private slots:
    void encryptThenDecryptGivesTheTextBack_data();
    void encryptThenDecryptGivesTheTextBack();
    void knownKeysGiveKnownCiphertexts_data();
    void knownKeysGiveKnownCiphertexts();
    void keysAreReadOrRefused_data();
    void keysAreReadOrRefused();
    void playfairFillsDoubledAndOddLetters_data();
    void playfairFillsDoubledAndOddLetters();
    void playfairKeepsTheLayoutWhenDeciphering();
    void playfairReadsACipherJAsI_data();
    void playfairReadsACipherJAsI();
    void variantBeaufortIsVigenereTheOtherWay();
    void everyKeyLetterIsFoundForItsSense_data();
    void everyKeyLetterIsFoundForItsSense();
    void lettersArePutBackInTheirPlaces_data();
    void lettersArePutBackInTheirPlaces();
    void randomKeysFollowTheSeed();
    void theColumnarGridShowsEachColumn();
    void autokeyUndoesItselfOnEveryLength_data();
    void autokeyUndoesItselfOnEveryLength();
};

void TestCipherKeys::encryptThenDecryptGivesTheTextBack_data() {
    QTest::addColumn<Cipher>("cipher");
    QTest::addColumn<int>("length");
    QTest::newRow("Caesar") << Cipher::Caesar << 0;
    QTest::newRow("affine") << Cipher::Affine << 0;
    QTest::newRow("Atbash") << Cipher::Atbash << 0;
    QTest::newRow("substitution") << Cipher::Substitution << 0;
    QTest::newRow("Vigenère, 1 letter") << Cipher::Vigenere << 1;
    QTest::newRow("Vigenère, 40 letters") << Cipher::Vigenere << 40;
    QTest::newRow("Beaufort, 7 letters") << Cipher::Beaufort << 7;
    QTest::newRow("variant Beaufort, 12 letters") << Cipher::VariantBeaufort << 12;
    QTest::newRow("autokey, primer of 1") << Cipher::Autokey << 1;
    QTest::newRow("autokey, primer of 2") << Cipher::Autokey << 2;
    QTest::newRow("autokey, primer of 20") << Cipher::Autokey << 20;
    QTest::newRow("columnar, 2 columns") << Cipher::Columnar << 2;
    QTest::newRow("columnar, 7 columns") << Cipher::Columnar << 7;
    QTest::newRow("columnar, 20 columns") << Cipher::Columnar << 20;
    QTest::newRow("rail fence, 2 rails") << Cipher::RailFence << 2;
    QTest::newRow("rail fence, 5 rails") << Cipher::RailFence << 5;
    QTest::newRow("rail fence, 20 rails") << Cipher::RailFence << 20;
}

void TestCipherKeys::encryptThenDecryptGivesTheTextBack() {
    QFETCH(Cipher, cipher);
    QFETCH(int, length);
    const std::string plain = ItalianSample().toStdString();
    // Whole texts, and texts shorter than a key or a zigzag.
    for (const std::string& text :
         {plain, std::string("Tre, due: uno!"), std::string("é"), std::string()}) {
        for (const std::uint64_t seed : {1U, 2U, 3U}) {
            const auto [encrypted, decrypted] = EncryptAndDecrypt(cipher, length, seed, text);
            QCOMPARE(decrypted, text);
            QCOMPARE(encrypted.size(), text.size());
            // Letters stay letters in their case and nothing else moves.
            QCOMPARE(LettersOf(encrypted).size(), LettersOf(text).size());
            for (std::size_t i = 0; i < text.size(); ++i) {
                const bool letter = LetterIndex(static_cast<unsigned char>(text[i])) >= 0;
                QCOMPARE(LetterIndex(static_cast<unsigned char>(encrypted[i])) >= 0, letter);
                if (!letter) {
                    QCOMPARE(encrypted[i], text[i]);
                } else {
                    QCOMPARE(encrypted[i] & 0x20, text[i] & 0x20);
                }
            }
        }
        if (text == plain) {
            QVERIFY(EncryptAndDecrypt(cipher, length, 1, text).first != text);
        }
    }
}

void TestCipherKeys::knownKeysGiveKnownCiphertexts_data() {
    QTest::addColumn<QString>("cipher");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("encrypted");
    QTest::newRow("Caesar, 3") << "caesar"
                               << "3"
                               << "Ciao, Mondo!"
                               << "Fldr, Prqgr!";
    QTest::newRow("Caesar, by letter") << "caesar"
                                       << "D"
                                       << "zia"
                                       << "cld";
    QTest::newRow("affine 5,8") << "affine"
                                << "5,8"
                                << "Affine cipher"
                                << "Ihhwvc swfrcp";
    QTest::newRow("Atbash") << "affine"
                            << "25 25"
                            << "Zebra"
                            << "Avyiz";
    QTest::newRow("Vigenère") << "vigenere"
                              << "LEMON"
                              << "attack at dawn"
                              << "lxfopv ef rnhr";
    QTest::newRow("Beaufort") << "beaufort"
                              << "FORTIFICATION"
                              << "DEFEND THE EAST WALL OF THE CASTLE"
                              << "CKMPVC PVW PIWU JOGI UA PVW RIWUUK";
    QTest::newRow("autokey") << "autokey"
                             << "QUEENLY"
                             << "ATTACK AT DAWN"
                             << "QNXEPV YT WTWP";
    QTest::newRow("columnar, keyword") << "columnar"
                                       << "ZEBRAS"
                                       << "WEAREDISCOVEREDFLEEATONCE"
                                       << "EVLNACDTESEAROFODEECWIREE";
    QTest::newRow("columnar, numbers") << "columnar"
                                       << "6 3 2 4 1 5"
                                       << "WEAREDISCOVEREDFLEEATONCE"
                                       << "EVLNACDTESEAROFODEECWIREE";
    QTest::newRow("rail fence, 3") << "railfence"
                                   << "3"
                                   << "WEAREDISCOVEREDFLEEATONCE"
                                   << "WECRLTEERDSOEEFEAOCAIVDEN";
    QTest::newRow("Playfair") << "playfair"
                              << "playfair example"
                              << "Hide the gold in the tree stump"
                              << "BMODZBXDNABEKUDMUIXMMOUVIF";
}

void TestCipherKeys::knownKeysGiveKnownCiphertexts() {
    QFETCH(QString, cipher);
    QFETCH(QString, key);
    QFETCH(QString, plain);
    QFETCH(QString, encrypted);
    const std::string keyText = key.toStdString();
    const std::string text = plain.toStdString();
    std::string out;
    std::string back;
    if (cipher == "caesar") {
        CaesarKey::Parse(keyText).key().Encrypt(text, out);
        CaesarKey::Parse(keyText).key().Decrypt(out, back);
    } else if (cipher == "affine") {
        AffineKey::Parse(keyText).key().Encrypt(text, out);
        AffineKey::Parse(keyText).key().Decrypt(out, back);
    } else if (cipher == "vigenere" || cipher == "beaufort") {
        const PeriodicSense sense =
            cipher == "vigenere" ? PeriodicSense::Vigenere : PeriodicSense::Beaufort;
        PeriodicKey::Parse(sense, keyText).key().Encrypt(text, out);
        PeriodicKey::Parse(sense, keyText).key().Decrypt(out, back);
    } else if (cipher == "autokey") {
        AutokeyKey::Parse(keyText).key().Encrypt(text, out);
        AutokeyKey::Parse(keyText).key().Decrypt(out, back);
    } else if (cipher == "columnar") {
        ColumnarKey::Parse(keyText).key().Encrypt(text, out);
        ColumnarKey::Parse(keyText).key().Decrypt(out, back);
    } else if (cipher == "railfence") {
        RailFenceKey::Parse(keyText).key().Encrypt(text, out);
        RailFenceKey::Parse(keyText).key().Decrypt(out, back);
    } else {
        const PlayfairKey square = PlayfairKey::Parse(keyText).key();
        out = square.Encrypt(text);
        square.Decrypt(out, back);
        // The fillers stay in: "tree" was enciphered as "TREXE".
        QCOMPARE(QString::fromStdString(back), QStringLiteral("HIDETHEGOLDINTHETREXESTUMP"));
        back = text;
    }
    QCOMPARE(QString::fromStdString(out), encrypted);
    QCOMPARE(back, text);
}

void TestCipherKeys::keysAreReadOrRefused_data() {
    QTest::addColumn<QString>("cipher");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<KeyError>("error");
    QTest::addColumn<QString>("normalised");
    const KeyError none = KeyError::Empty;
    QTest::newRow("Caesar, 25") << "caesar"
                                << " 25 " << true << none << "25";
    QTest::newRow("Caesar, 26") << "caesar"
                                << "26" << false << KeyError::OutOfRange << "";
    QTest::newRow("Caesar, minus one") << "caesar"
                                       << "-1" << false << KeyError::NotANumber << "";
    QTest::newRow("Caesar, two letters") << "caesar"
                                         << "ab" << false << KeyError::NotANumber << "";
    QTest::newRow("Caesar, blank") << "caesar"
                                   << "  " << false << KeyError::Empty << "";
    QTest::newRow("affine, 3 and 25") << "affine"
                                      << "3;25" << true << none << "3,25";
    QTest::newRow("affine, 13 shares a factor") << "affine"
                                                << "13,2" << false << KeyError::NotCoprime << "";
    QTest::newRow("affine, even") << "affine"
                                  << "2,1" << false << KeyError::NotCoprime << "";
    QTest::newRow("affine, 0") << "affine"
                               << "0,1" << false << KeyError::NotCoprime << "";
    QTest::newRow("affine, b is 26") << "affine"
                                     << "1,26" << false << KeyError::OutOfRange << "";
    QTest::newRow("affine, a is 27") << "affine"
                                     << "27,0" << false << KeyError::OutOfRange << "";
    QTest::newRow("affine, one number") << "affine"
                                        << "5" << false << KeyError::NotANumber << "";
    QTest::newRow("affine, three numbers") << "affine"
                                           << "5,8,1" << false << KeyError::NotANumber << "";
    QTest::newRow("affine, a letter") << "affine"
                                      << "5,b" << false << KeyError::NotANumber << "";
    QTest::newRow("substitution") << "substitution"
                                  << "QWERTYUIOPASDFGHJKLZXCVBNM" << true << none
                                  << "qwertyuiopasdfghjklzxcvbnm";
    QTest::newRow("substitution, a letter twice")
        << "substitution"
        << "qwertyuiopasdfghjklzxcvbnq" << false << KeyError::RepeatedLetter << "";
    QTest::newRow("substitution, partial")
        << "substitution"
        << "qwertyuiopasdfghjklzxcvbn." << false << KeyError::NotALetter << "";
    QTest::newRow("substitution, 25")
        << "substitution"
        << "qwertyuiopasdfghjklzxcvbn" << false << KeyError::WrongLength << "";
    QTest::newRow("Vigenère") << "vigenere"
                              << " Chiave " << true << none << "CHIAVE";
    QTest::newRow("Vigenère, 40 letters")
        << "vigenere" << QString(40, 'k') << true << none << QString(40, 'K');
    QTest::newRow("Vigenère, 41 letters")
        << "vigenere" << QString(41, 'k') << false << KeyError::TooLong << "";
    QTest::newRow("Vigenère, a space inside") << "vigenere"
                                              << "chi ave" << false << KeyError::NotALetter << "";
    QTest::newRow("Vigenère, an accent") << "vigenere"
                                         << "perch\u00e9" << false << KeyError::NotALetter << "";
    QTest::newRow("autokey, 20 letters")
        << "autokey" << QString(20, 'q') << true << none << QString(20, 'Q');
    QTest::newRow("autokey, 21 letters")
        << "autokey" << QString(21, 'q') << false << KeyError::TooLong << "";
    QTest::newRow("autokey, empty") << "autokey"
                                    << "" << false << KeyError::Empty << "";
    QTest::newRow("columnar, keyword with a letter twice")
        << "columnar"
        << "tavolo" << true << none << "5 1 6 3 2 4";
    QTest::newRow("columnar, numbers") << "columnar"
                                       << "2,1,3" << true << none << "2 1 3";
    QTest::newRow("columnar, a number twice")
        << "columnar"
        << "1 2 2" << false << KeyError::NotAPermutation << "";
    QTest::newRow("columnar, past the count")
        << "columnar"
        << "1 2 4" << false << KeyError::NotAPermutation << "";
    QTest::newRow("columnar, zero") << "columnar"
                                    << "0 1 2" << false << KeyError::NotAPermutation << "";
    QTest::newRow("columnar, one column") << "columnar"
                                          << "a" << false << KeyError::TooShort << "";
    QTest::newRow("columnar, 21 columns")
        << "columnar" << QString(21, 'c') << false << KeyError::TooLong << "";
    QTest::newRow("columnar, a number and a letter")
        << "columnar"
        << "1 b" << false << KeyError::NotANumber << "";
    QTest::newRow("rail fence, 20") << "railfence"
                                    << "20" << true << none << "20";
    QTest::newRow("rail fence, 1") << "railfence"
                                   << "1" << false << KeyError::OutOfRange << "";
    QTest::newRow("rail fence, 21") << "railfence"
                                    << "21" << false << KeyError::OutOfRange << "";
    QTest::newRow("rail fence, a word") << "railfence"
                                        << "tre" << false << KeyError::NotANumber << "";
    QTest::newRow("Playfair, keyword")
        << "playfair"
        << "Playfair example" << true << none << "PLAYFIREXMBCDGHKNOQSTUVWZ";
    QTest::newRow("Playfair, J is I") << "playfair"
                                      << "jolly" << true << none << "IOLYABCDEFGHKMNPQRSTUVWXZ";
    QTest::newRow("Playfair, a capital J is I")
        << "playfair"
        << "Jolly" << true << none << "IOLYABCDEFGHKMNPQRSTUVWXZ";
    QTest::newRow("Playfair, a digit") << "playfair"
                                       << "chiave1" << false << KeyError::NotALetter << "";
}

void TestCipherKeys::keysAreReadOrRefused() {
    QFETCH(QString, cipher);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(KeyError, error);
    QFETCH(QString, normalised);
    const std::string key = text.toStdString();
    const auto check = [&](const auto& parsed) {
        QCOMPARE(parsed.ok(), valid);
        if (valid) {
            QCOMPARE(QString::fromStdString(parsed.key().Text()), normalised);
        } else {
            QCOMPARE(parsed.error(), error);
        }
    };
    if (cipher == "caesar") {
        check(CaesarKey::Parse(key));
    } else if (cipher == "affine") {
        check(AffineKey::Parse(key));
    } else if (cipher == "substitution") {
        check(SubstitutionKey::Parse(key));
    } else if (cipher == "vigenere") {
        check(PeriodicKey::Parse(PeriodicSense::Vigenere, key));
    } else if (cipher == "autokey") {
        check(AutokeyKey::Parse(key));
    } else if (cipher == "columnar") {
        check(ColumnarKey::Parse(key));
    } else if (cipher == "railfence") {
        check(RailFenceKey::Parse(key));
    } else {
        check(PlayfairKey::Parse(key));
    }
}

void TestCipherKeys::playfairFillsDoubledAndOddLetters_data() {
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("deciphered");
    QTest::newRow("doubled letters") << "balloon"
                                     << "BALXLOON";
    QTest::newRow("doubled across a pair is left") << "abba"
                                                   << "ABBA";
    QTest::newRow("odd length") << "ciao"
                                << "CIAO";
    QTest::newRow("odd, filled") << "sole"
                                 << "SOLE";
    QTest::newRow("one letter") << "e"
                                << "EX";
    QTest::newRow("doubled X takes Q") << "xx"
                                       << "XQXQ";
    QTest::newRow("J is I") << "jet"
                            << "IETX";
    QTest::newRow("nothing") << ""
                             << "";
}

void TestCipherKeys::playfairFillsDoubledAndOddLetters() {
    QFETCH(QString, plain);
    QFETCH(QString, deciphered);
    const PlayfairKey key = PlayfairKey::Parse("monarchy").key();
    const std::vector<std::uint8_t> encrypted = key.EncryptLetters(Indices(plain.toStdString()));
    QCOMPARE(encrypted.size() % 2, std::size_t{0});
    for (std::size_t i = 0; i + 1 < encrypted.size(); i += 2) {
        QVERIFY(encrypted[i] != encrypted[i + 1]);
        QVERIFY(encrypted[i] != PlayfairKey::kJ);
    }
    QCOMPARE(QString::fromStdString(Capitals(key.DecryptLetters(encrypted))), deciphered);
}

void TestCipherKeys::playfairKeepsTheLayoutWhenDeciphering() {
    std::mt19937_64 random(7);
    const PlayfairKey key = PlayfairKey::Random(random);
    const std::string plain = "Il sole, oggi, \xc3\xa8 caldo: andiamo al mare?";
    // No pair of its letters is a doubled letter and none is a J: no filler goes in.
    const std::string encrypted = key.Encrypt(plain);
    QCOMPARE(encrypted.size(), LettersOf(plain).size());
    std::string layout = plain;
    PutLetters(plain, Indices(encrypted), layout);
    std::string back;
    key.Decrypt(layout, back);
    QCOMPARE(back, plain);
    // An odd last letter is left as it is.
    key.Decrypt("abc", back);
    QCOMPARE(back.back(), 'c');
}

// A ciphertext typed by hand may hold a J: it stands in the square where I does, whichever way
// the pair lies (the "monarchy" square has I on row 3, column 4).
void TestCipherKeys::playfairReadsACipherJAsI_data() {
    QTest::addColumn<QString>("cipher");
    QTest::addColumn<QString>("deciphered");
    QTest::newRow("same row") << "JK"
                              << "GI";
    QTest::newRow("same column") << "JS"
                                 << "BI";
    QTest::newRow("rectangle, J first") << "JM"
                                        << "EA";
    QTest::newRow("rectangle, J second") << "MJ"
                                         << "AE";
}

void TestCipherKeys::playfairReadsACipherJAsI() {
    QFETCH(QString, cipher);
    QFETCH(QString, deciphered);
    const PlayfairKey key = PlayfairKey::Parse("monarchy").key();
    QCOMPARE(QString::fromStdString(Capitals(key.DecryptLetters(Indices(cipher.toStdString())))),
             deciphered);
    QString withI = cipher;
    withI.replace(QLatin1Char('J'), QLatin1Char('I'));
    QCOMPARE(QString::fromStdString(Capitals(key.DecryptLetters(Indices(withI.toStdString())))),
             deciphered);
}

void TestCipherKeys::variantBeaufortIsVigenereTheOtherWay() {
    const std::string plain = ItalianSample().toStdString();
    std::string variant;
    std::string vigenere;
    PeriodicKey::Parse(PeriodicSense::VariantBeaufort, "lampo").key().Encrypt(plain, variant);
    PeriodicKey::Parse(PeriodicSense::Vigenere, "lampo").key().Decrypt(plain, vigenere);
    QCOMPARE(variant, vigenere);
    // Beaufort undoes itself.
    const PeriodicKey beaufort = PeriodicKey::Parse(PeriodicSense::Beaufort, "lampo").key();
    std::string once;
    std::string twice;
    beaufort.Encrypt(plain, once);
    beaufort.Encrypt(once, twice);
    QCOMPARE(twice, plain);
}

void TestCipherKeys::everyKeyLetterIsFoundForItsSense_data() {
    QTest::addColumn<PeriodicSense>("sense");
    QTest::addColumn<QString>("keyword");
    QTest::newRow("Vigenère") << PeriodicSense::Vigenere << "finestra";
    QTest::newRow("Beaufort") << PeriodicSense::Beaufort << "finestra";
    QTest::newRow("variant Beaufort") << PeriodicSense::VariantBeaufort << "finestra";
    QTest::newRow("Beaufort, A and Z") << PeriodicSense::Beaufort << "azazm";
    QTest::newRow("variant, A and Z") << PeriodicSense::VariantBeaufort << "azazm";
}

void TestCipherKeys::everyKeyLetterIsFoundForItsSense() {
    QFETCH(PeriodicSense, sense);
    QFETCH(QString, keyword);
    const PeriodicKey key = PeriodicKey::Parse(sense, keyword.toStdString()).key();
    const std::string plain = ItalianSample().toStdString();
    std::string encrypted;
    key.Encrypt(plain, encrypted);
    const CipherText cipher(encrypted);
    const int period = int(key.period());
    PeriodAnalysis analysis(kPeriodLimit);
    analysis.Update(cipher.letters());
    // The analysis's column counts are the text's.
    const std::vector<std::vector<std::int32_t>> columns = analysis.ColumnCounts(period);
    QCOMPARE(columns, ColumnCounts(cipher.bytes(), period));
    const std::vector<std::uint8_t> found = BestKeyLetters(columns, ItalianFrequencies(), sense);
    QCOMPARE(found, key.letters());
    // Under the key the column counts give the plaintext's counts.
    QCOMPARE(TabledColumnCounts(columns, key.DecryptTables()), CipherText(plain).counts());
}

void TestCipherKeys::lettersArePutBackInTheirPlaces_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("letters");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("cases kept by place")
        << QByteArray("Ab, cD!") << "wxyz" << QByteArray("Wx, yZ!");
    QTest::newRow("fewer letters") << QByteArray("abc def") << "xy" << QByteArray("xyc def");
    QTest::newRow("no letters") << QByteArray("12 \xc3\xa8") << "" << QByteArray("12 \xc3\xa8");
    // Past the first stretch of 64 bytes the blocks go by masks.
    QTest::newRow("a long line") << QByteArray(70, 'a') + QByteArray(" B") << QString(71, 'q')
                                 << QByteArray(70, 'q') + QByteArray(" Q");
}

void TestCipherKeys::lettersArePutBackInTheirPlaces() {
    QFETCH(QByteArray, text);
    QFETCH(QString, letters);
    QFETCH(QByteArray, expected);
    std::string out;
    PutLetters(text.toStdString(), Indices(letters.toStdString()), out);
    QCOMPARE(QByteArray::fromStdString(out), expected);
    QCOMPARE(TextLetters(expected.toStdString()), TextLetters(out));
}

void TestCipherKeys::randomKeysFollowTheSeed() {
    std::mt19937_64 first(42);
    std::mt19937_64 second(42);
    QCOMPARE(PlayfairKey::Random(first), PlayfairKey::Random(second));
    QCOMPARE(ColumnarKey::Random(9, first), ColumnarKey::Random(9, second));
    QCOMPARE(PeriodicKey::Random(PeriodicSense::Beaufort, 11, first).letters().size(),
             std::size_t{11});
    QVERIFY(SubstitutionKey::Random(first).IsFull());
    // Random keys never leave the text as it is.
    for (int i = 0; i < 400; ++i) {
        QVERIFY(CaesarKey::Random(first).shift() != 0);
        QVERIFY(!(AffineKey::Random(first) == AffineKey()));
        const RailFenceKey rails = RailFenceKey::Random(3, 4, first);
        QVERIFY(rails.rails() >= 3 && rails.rails() <= 4);
    }
}

void TestCipherKeys::theColumnarGridShowsEachColumn() {
    const ColumnarKey key = ColumnarKey::Parse("zebras").key();
    const std::vector<std::uint8_t> cipher = Indices("EVLNACDTESEAROFODEECWIREE");
    QStringList columns;
    for (const std::span<const std::uint8_t> column : key.Columns(cipher)) {
        columns << QString::fromStdString(Capitals({column.begin(), column.end()}));
    }
    // WEARED / ISCOVE / REDFLE / EATONC / E: the first column is the long one.
    QCOMPARE(columns, (QStringList{"WIREE", "ESEA", "ACDT", "ROFO", "EVLN", "DEEC"}));
}

void TestCipherKeys::autokeyUndoesItselfOnEveryLength_data() {
    QTest::addColumn<int>("primer");
    for (const int primer : {1, 2, 3, 7, 16, 20, 64, 65}) {
        QTest::addRow("primer of %d", primer) << primer;
    }
}

void TestCipherKeys::autokeyUndoesItselfOnEveryLength() {
    // Texts that end before, at and past a block of 64 letters or two, and long ones.
    QFETCH(int, primer);
    std::mt19937_64 random(static_cast<std::uint64_t>(primer));
    const AutokeyKey key = AutokeyKey::Random(std::size_t(primer), random);
    for (const std::size_t size : {0, 1, 63, 64, 65, 127, 128, 129, 191, 1000, 4099}) {
        std::vector<std::uint8_t> plain(size);
        for (std::uint8_t& letter : plain) {
            letter = std::uint8_t(random() % 26);
        }
        std::vector<std::uint8_t> letters = plain;
        key.EncryptLetters(letters);
        key.DecryptLetters(letters);
        QCOMPARE(letters, plain);
    }
}

QTEST_GUILESS_MAIN(TestCipherKeys)
#include "tst_cipher_keys.moc"
