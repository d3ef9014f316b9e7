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
#include <vector>

namespace tallivo {

class MessageService;

// The text the workbench works on.
struct WorkText {
    QString name;
    std::shared_ptr<const CipherText> text;
    // A byte the text does not hold: what a mapping writes for a letter its key leaves open.
    unsigned char unassigned = 1;
};

// What was found of a text's periods: the average index of coincidence per period (index
// period - 1) and the Kasiski examination.
struct PeriodFigures {
    std::vector<double> coincidences;
    KasiskiExamination kasiski;
};

// The language the plaintext is compared with.
struct WorkLanguage {
    QString name;
    ReferenceTable table;
};

// What a page is given to do its work beside the frame.
struct PageContext {
    MessageService& messages;
};

// One cipher's page of the workbench: its key, the controls that change it and the tools that
// find it. The frame shows the plaintext the page's mapping makes of the text, with the
// plaintext's counts; the page says when its key has changed.
class CipherPage : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Returns the page's name on its tab, e.g. "Cesare".
    virtual QString Title() const = 0;

    // Works on text from now on, with an empty key.
    virtual void SetText(const WorkText& text) = 0;

    // Takes the periods found in the text, once they are known; a page without use for them
    // leaves them.
    virtual void SetPeriods(const std::shared_ptr<const PeriodFigures>& periods);

    // Compares with language from now on.
    virtual void SetLanguage(const WorkLanguage& language) = 0;

    // Returns what the current key makes of the text.
    virtual std::shared_ptr<const LetterMapping> Mapping() const = 0;

    // Returns the plaintext's letter counts (index 0 = a) under the current key.
    virtual std::vector<std::int32_t> PlainCounts() const = 0;

    // Returns the key in use as "Copia chiave" copies it.
    virtual QString KeyText() const = 0;

signals:
    // The key has changed: the plaintext is to be shown anew.
    void keyChanged();
};

} // namespace tallivo
