#pragma once

#include "vigenere_page.h"

class QComboBox;

namespace tallivo {

// Beaufort's cipher (c = k - p, which undoes itself) and its variant (c = p - k) with the
// Vigenère page's tools: the same period analysis and probable word, the column's key letter
// read in the sense chosen. Its key is written as the keyword ("leone") for Beaufort, and with
// "variante:" before it ("variante:leone") for the variant; "beaufort:leone" is read too.
class BeaufortPage : public VigenerePage {
    Q_OBJECT

public:
    BeaufortPage(const PageContext& context, QWidget* parent = nullptr);

    QString Title() const override { return QStringLiteral("Beaufort"); }
    QString CipherName() const override { return QStringLiteral("beaufort"); }
    QString KeyText() const override;
    std::optional<QString> SetKeyText(const QString& key) override;

private:
    QComboBox* cboVerso;
};

} // namespace tallivo
