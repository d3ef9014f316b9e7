#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tallivo {

// The sample texts compiled into the program, which the guide opens by name: a ciphertext for
// each kind of cipher the workbench breaks ("cesare", "vigenere" ...) and plain readings for
// the teacher's exercises ("rosetta" ...).
class SampleTexts {
public:
    // Returns the names of the ciphertexts, then of the readings, each group in name order.
    static QStringList Names();

    // Returns whether name is a ciphertext (not a reading).
    static bool IsCiphertext(const QString& name);

    // Returns the sample's bytes (ASCII text), empty for a name that is none of Names().
    static QByteArray Text(const QString& name);
};

} // namespace tallivo
