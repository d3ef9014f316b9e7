#pragma once

#include "cipher_text.h"
#include "key_search.h"
#include "letter_mapping.h"
#include "periodic_key.h"
#include "reference_frequencies.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

class LanguageModel;
class MessageService;

// The text the workbench works on.
struct WorkText {
    QString name;
    std::shared_ptr<const CipherText> text;
    // A byte the text does not hold: what a mapping writes for a letter its key leaves open.
    unsigned char unassigned = 1;
};

// What was found of a text's periods: the average index of coincidence per period (index
// period - 1), the Kasiski examination and the period analysis itself (its column counts).
struct PeriodFigures {
    // Works out the figures of the letters of a text (one pass over them all: not for the UI
    // thread on a long text).
    static std::shared_ptr<const PeriodFigures> Of(const std::vector<std::uint8_t>& letters);

    std::vector<double> coincidences;
    KasiskiExamination kasiski;
    std::shared_ptr<const PeriodAnalysis> analysis;
};

// The language the plaintext is compared with: its letter table, and its model (n-grams, words)
// where the language is one the program carries data for; a reference text has none.
struct WorkLanguage {
    QString name;
    ReferenceTable table;
    const LanguageModel* model = nullptr;
};

// What a page is given to do its work beside the frame.
struct PageContext {
    MessageService& messages;
};

// What a random key is drawn for: how long, where the cipher's key has a length (letters of a
// keyword, columns, rails); 0 leaves it to the page.
struct KeyOptions {
    int length = 0;
};

// One cipher's page of the workbench: its key, the controls that change it and the tools that
// find it. The frame shows the plaintext the page's mapping makes of the text, with the
// plaintext's counts; the page says when its key has changed. In the frame's "Cifra" mode the
// same key enciphers the text instead, as the teacher writes it (a shift of 3 turns a into d).
class CipherPage : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Returns the page's name on its tab, e.g. "Cesare"; the accessible name of the page too.
    virtual QString Title() const = 0;

    // Returns the cipher's name in an exercise file and in pageRequested, e.g. "cesare":
    // lower case a-z only, never changed once released.
    virtual QString CipherName() const = 0;

    // Works on text from now on, with an empty key.
    virtual void SetText(const WorkText& text) = 0;

    // Takes the periods found in the text, once they are known; a page without use for them
    // leaves them.
    virtual void SetPeriods(const std::shared_ptr<const PeriodFigures>& periods);

    // Compares with language from now on.
    virtual void SetLanguage(const WorkLanguage& language) = 0;

    // Returns what the current key makes of the text when deciphering.
    virtual std::shared_ptr<const LetterMapping> Mapping() const = 0;

    // Returns the plaintext's letter counts (index 0 = a) under the current key.
    virtual std::vector<std::int32_t> PlainCounts() const = 0;

    // Returns the key in use as "Copia chiave" copies it and an exercise file keeps it.
    virtual QString KeyText() const = 0;

    // Makes key, written as KeyText writes it, the key in use (keyChanged follows); returns
    // the Italian sentence that says why it cannot, changing nothing, when it does not fit.
    virtual std::optional<QString> SetKeyText(const QString& key) = 0;

    // Returns the whole of the page's state that undo takes back (the key, and what the student
    // fixed of it); RestoreState puts such a state back, as the key in use.
    virtual QString State() const { return KeyText(); }
    virtual void RestoreState(const QString& state) { SetKeyText(state); }

    // Returns plain enciphered with the current key: every non-letter kept in place, or, for a
    // cipher that changes the number of letters (Playfair), the letters alone in capitals.
    virtual std::string Encrypt(std::string_view plain) const = 0;

    // Whether Encrypt keeps the text's spaces and punctuation.
    virtual bool EncryptKeepsLayout() const { return true; }

    // Draws a key at random (keyChanged follows).
    virtual void RandomKey(std::mt19937_64& random, const KeyOptions& options) = 0;

    // Tells the page whether the frame is enciphering, so it can word its key for it.
    virtual void SetEnciphering(bool enciphering) { (void)enciphering; }

signals:
    // The key has changed: the plaintext is to be shown anew.
    void keyChanged();
    // The page asks the frame to show the page of another cipher, by its CipherName.
    void pageRequested(const QString& cipherName);
    // The page has something to tell a screen reader at once (a hint, a key found).
    void announce(const QString& text);
};

} // namespace tallivo
