#pragma once

#include "cipher_page.h"
#include "substitution_key.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tallivo {

class KeySlots;

// A general substitution: the plaintext letter of each cipher letter, in 26 slots and as a
// line of 26 characters, and a proposal by frequency rank.
class SubstitutionPage : public CipherPage {
    Q_OBJECT

public:
    SubstitutionPage(const PageContext& context, QWidget* parent = nullptr);

    QString Title() const override { return QStringLiteral("Sostituzione"); }
    QString CipherName() const override { return QStringLiteral("sostituzione"); }
    void SetText(const WorkText& text) override;
    void SetLanguage(const WorkLanguage& language) override;
    std::shared_ptr<const LetterMapping> Mapping() const override;
    std::vector<std::int32_t> PlainCounts() const override;
    QString KeyText() const override;
    std::optional<QString> SetKeyText(const QString& key) override;
    std::string Encrypt(std::string_view plain) const override;
    void RandomKey(std::mt19937_64& random, const KeyOptions& options) override;

private:
    // Shows key in the slots and the line, and has it applied.
    void ShowKey(const SubstitutionKey& key);
    void ReadKeyLine(const QString& text);

    WorkText text_;
    WorkLanguage language_;
    KeySlots* grdChiave;
    QLineEdit* txtChiaveSostituzione;
    QLabel* lblSuggerimento;
    QPushButton* cmdProponi;
    QPushButton* cmdAzzera;
};

} // namespace tallivo
