#pragma once

#include "cipher_identification.h"
#include "cipher_page.h"

class QPlainTextEdit;
class QPushButton;

namespace tallivo {

class BackgroundJob;

// "Che cifrario è?": reads the text's figures and says which kind of cipher it probably is, each
// reason with its number and the language's beside it, with a button to the page of that
// cipher. It deciphers nothing: its mapping leaves the text as it is, it has no key, and in the
// frame's "Cifra" mode the text stays as it is too.
class IdentificationPage : public CipherPage {
    Q_OBJECT

public:
    IdentificationPage(const PageContext& context, QWidget* parent = nullptr);

    QString Title() const override { return QStringLiteral("Che cifrario è?"); }
    QString CipherName() const override { return QStringLiteral("identificazione"); }
    void SetText(const WorkText& text) override;
    void SetPeriods(const std::shared_ptr<const PeriodFigures>& periods) override;
    void SetLanguage(const WorkLanguage& language) override;
    std::shared_ptr<const LetterMapping> Mapping() const override;
    std::vector<std::int32_t> PlainCounts() const override;
    QString KeyText() const override { return {}; }
    // Takes only the empty key: the page has none.
    std::optional<QString> SetKeyText(const QString& key) override;
    std::string Encrypt(std::string_view plain) const override { return std::string(plain); }
    void RandomKey(std::mt19937_64&, const KeyOptions&) override {}

    // Returns the verdict as shown, once it is known.
    const std::optional<Verdict>& CurrentVerdict() const { return verdict_; }

signals:
    // The verdict is shown.
    void verdictShown();

private:
    void Judge();
    void ShowVerdict();

    WorkText text_;
    WorkLanguage language_;
    std::shared_ptr<const PeriodFigures> periods_;
    std::optional<Verdict> verdict_;
    QString page_;      // the CipherName the verdict names, if any
    QString otherPage_; // a second page of the same family, if any

    QPlainTextEdit* txtVerdetto;
    QPushButton* cmdApriPagina;
    QPushButton* cmdApriAltraPagina;
    BackgroundJob* job_;
};

} // namespace tallivo
