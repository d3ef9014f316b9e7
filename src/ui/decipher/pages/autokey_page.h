#pragma once

#include "autokey_key.h"
#include "cipher_page.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tallivo {

class BackgroundJob;
class SearchProgressRow;

// The autokey cipher: a primer of 1 to 20 letters starts the key, the plaintext goes on with
// it. The primer is applied as it is typed; "Miglior chiave" searches every length of primer
// for the one whose plaintext reads best, beside the window. Its key is the primer, e.g.
// "leone".
class AutokeyPage : public CipherPage {
    Q_OBJECT

public:
    AutokeyPage(const PageContext& context, QWidget* parent = nullptr);

    QString Title() const override { return QStringLiteral("Autochiave"); }
    QString CipherName() const override { return QStringLiteral("autochiave"); }
    void SetText(const WorkText& text) override;
    void SetLanguage(const WorkLanguage& language) override;
    std::shared_ptr<const LetterMapping> Mapping() const override;
    std::vector<std::int32_t> PlainCounts() const override;
    QString KeyText() const override;
    std::optional<QString> SetKeyText(const QString& key) override;
    std::string Encrypt(std::string_view plain) const override;
    void RandomKey(std::mt19937_64& random, const KeyOptions& options) override;

    // The most letters, from the text's start, the search reads: the primer shows in them all.
    static constexpr std::size_t kSearchedLetters = 6000;

private:
    void SetKey(const AutokeyKey& key);
    void FindKey();

    WorkText text_;
    WorkLanguage language_;
    AutokeyKey key_;
    std::vector<std::int32_t> plainCounts_ = std::vector<std::int32_t>(26, 0);

    QLineEdit* txtChiaveIniziale;
    QPushButton* cmdMigliorChiave;
    QLabel* lblSuggerimentoAutochiave;
    SearchProgressRow* barRicerca;
    BackgroundJob* job_;
};

} // namespace tallivo
