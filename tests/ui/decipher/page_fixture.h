#pragma once

// What the workbench's page tests share: a page given a text as the frame gives it, the
// plaintext it makes of it, and its controls by name.

#include "cipher_page.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QWidget>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// Whether a page is also given the figures of the text's periods, as the frame gives them to
// every page once the text is read.
enum class WithPeriods { No, Yes };

// Gives page cipher as the frame does: the text under name, then Italian with its n-grams, then
// (where asked) the text's periods. Returns the text the page works on.
std::shared_ptr<const CipherText> GiveText(CipherPage& page, std::string_view cipher,
                                           WithPeriods periods = WithPeriods::No,
                                           const QString& name = QStringLiteral("prova"));

// The plaintext page's key makes of text, byte for byte.
std::string PlainBytes(const CipherPage& page, const CipherText& text);

// The plaintext page's key makes of text, as the workbench's pane shows it.
QString PlainShown(const CipherPage& page, const CipherText& text);

// The page of cipherName among pages; the test stops if the workbench has none.
CipherPage* PageNamed(const std::vector<CipherPage*>& pages, const QString& cipherName);

// Waits for the identification page's verdict on the text it was given; false if none came.
bool VerdictShown(CipherPage& identification);

// The whole file at path; the test stops if it cannot be read.
QByteArray FileBytes(const QString& path);

// Types text into widget a character at a time, as the keyboard does: any character, the
// accented ones too.
void TypeKeys(QWidget* widget, const QString& text);

// The letters Playfair enciphers of text, in capitals, by the cipher's rules as a student
// applies them by hand: J written as I; a pair of two equal letters split by an X (by a Q when
// the letters are X), and an X after an odd last letter.
QString PlayfairPrepared(std::string_view text);

// The control of page named name; on the Beaufort page, which shares the Vigenère page's
// controls, the name has "Beaufort" after it.
template <typename T> T* Control(const QObject& page, const QString& name) {
    if (T* control = page.findChild<T*>(name)) {
        return control;
    }
    return page.findChild<T*>(name + QStringLiteral("Beaufort"));
}

} // namespace tallivo
