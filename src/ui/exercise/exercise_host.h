#pragma once

#include "cipher_page.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <random>
#include <string>
#include <string_view>

namespace tallivo {

// What the exercises ask of the workbench they run in: its ciphers, enciphering with one of
// them, the student's work, and taking a ciphertext as the text to work on. The workbench
// implements it; tests hand the exercises a fake.
class ExerciseHost {
public:
    virtual ~ExerciseHost() = default;

    // The ciphers the workbench can apply, as (CipherName, title) pairs in its order.
    virtual QList<std::pair<QString, QString>> Ciphers() const = 0;

    // The text the workbench works on, with its name; an empty name and text when it has none.
    virtual std::pair<QString, std::string> CurrentText() const = 0;

    // Returns plain enciphered by cipherName under a key drawn at random as options say, with
    // that key (as the cipher's page writes it); the workbench's own keys do not change.
    virtual std::pair<std::string, QString> EncryptWithRandomKey(const QString& cipherName,
                                                                 std::string_view plain,
                                                                 const KeyOptions& options,
                                                                 std::mt19937_64& random) = 0;

    // Makes ciphertext, named name, the text the student works on, on cipherName's page with
    // an empty key.
    virtual void TakeExerciseText(const QString& name, const QString& cipherName,
                                  const std::string& ciphertext) = 0;

    // The student's key on cipherName's page, as the page writes it.
    virtual QString StudentKey(const QString& cipherName) const = 0;

    // The plaintext as the student's key on cipherName's page makes it.
    virtual std::string StudentPlainText(const QString& cipherName) const = 0;

    // Puts key on cipherName's page, as "Mostra soluzione" does; returns the page's sentence
    // when it does not fit.
    virtual std::optional<QString> ShowKey(const QString& cipherName, const QString& key) = 0;
};

} // namespace tallivo
