#include "page_fixture.h"

#include "identification_page.h"
#include "language_model.h"
#include "letter_mapping.h"
#include "plain_text.h"
#include "reference_frequencies.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QSignalSpy>

namespace tallivo {

std::shared_ptr<const CipherText> GiveText(CipherPage& page, std::string_view cipher,
                                           WithPeriods periods, const QString& name) {
    auto text = std::make_shared<const CipherText>(cipher);
    page.SetText(WorkText{name, text});
    page.SetLanguage(WorkLanguage{QStringLiteral("Italiano"), ItalianFrequencies(),
                                  &LanguageModel::Get(Language::Italian)});
    if (periods == WithPeriods::Yes) {
        page.SetPeriods(PeriodFigures::Of(text->letters()));
    }
    return text;
}

std::string PlainBytes(const CipherPage& page, const CipherText& text) {
    std::string plain;
    page.Mapping()->Map(text.bytes(), plain, 0);
    return plain;
}

QString PlainShown(const CipherPage& page, const CipherText& text) {
    return PlainTextOf(text.bytes(), *page.Mapping(), TextReading{});
}

CipherPage* PageNamed(const std::vector<CipherPage*>& pages, const QString& cipherName) {
    for (CipherPage* page : pages) {
        if (page->CipherName() == cipherName) {
            return page;
        }
    }
    qFatal("the workbench has no page %s", qPrintable(cipherName));
}

bool VerdictShown(CipherPage& identification) {
    auto* page = qobject_cast<IdentificationPage*>(&identification);
    if (page == nullptr) {
        return false;
    }
    if (page->CurrentVerdict()) {
        return true;
    }
    // The verdict is worked out beside the window: it comes through the event loop.
    QSignalSpy shown(page, &IdentificationPage::verdictShown);
    return shown.wait(20000);
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qFatal("cannot read %s", qPrintable(path));
    }
    return file.readAll();
}

void TypeKeys(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

QString PlayfairPrepared(std::string_view text) {
    QString letters;
    for (const char c : text) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            const QChar letter = QChar(c).toUpper();
            letters += letter == QLatin1Char('J') ? QChar(QLatin1Char('I')) : letter;
        }
    }
    QString pairs;
    for (const QChar letter : letters) {
        if (pairs.size() % 2 == 1 && pairs.back() == letter) {
            pairs += letter == QLatin1Char('X') ? QLatin1Char('Q') : QLatin1Char('X');
        }
        pairs += letter;
    }
    if (pairs.size() % 2 == 1) {
        pairs += pairs.back() == QLatin1Char('X') ? QLatin1Char('Q') : QLatin1Char('X');
    }
    return pairs;
}

} // namespace tallivo
