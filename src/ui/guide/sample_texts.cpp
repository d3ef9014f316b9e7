#include "sample_texts.h"

#include <QDir>
#include <QFile>

namespace tallivo {

namespace {

const QString kCiphertexts = QStringLiteral(":/texts/esempi");
const QString kReadings = QStringLiteral(":/texts/letture");

QStringList NamesIn(const QString& folder) {
    QStringList names = QDir(folder).entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    for (QString& name : names) {
        name.chop(4);
    }
    return names;
}

} // namespace

QStringList SampleTexts::Names() {
    return NamesIn(kCiphertexts) + NamesIn(kReadings);
}

bool SampleTexts::IsCiphertext(const QString& name) {
    return NamesIn(kCiphertexts).contains(name);
}

QByteArray SampleTexts::Text(const QString& name) {
    // Only a listed name, so that no other resource is reached through "../".
    if (!Names().contains(name)) {
        return {};
    }
    QFile file((IsCiphertext(name) ? kCiphertexts : kReadings) + QLatin1Char('/') + name +
               QStringLiteral(".txt"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace tallivo
