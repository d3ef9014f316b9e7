#pragma once

#include "cipher_page.h"

class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tallivo {

// A shift of every letter: the shift in use, the chi-squared of the plaintext under each of
// the 26 shifts, and the best of them.
class CaesarPage : public CipherPage {
    Q_OBJECT

public:
    CaesarPage(const PageContext& context, QWidget* parent = nullptr);

    QString Title() const override { return QStringLiteral("Cesare"); }
    QString CipherName() const override { return QStringLiteral("cesare"); }
    void SetText(const WorkText& text) override;
    void SetLanguage(const WorkLanguage& language) override;
    std::shared_ptr<const LetterMapping> Mapping() const override;
    std::vector<std::int32_t> PlainCounts() const override;
    QString KeyText() const override;
    std::optional<QString> SetKeyText(const QString& key) override;
    std::string Encrypt(std::string_view plain) const override;
    void RandomKey(std::mt19937_64& random, const KeyOptions& options) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowChiSquares();

    WorkText text_;
    WorkLanguage language_;
    QSpinBox* spnSpostamento;
    QPushButton* cmdMigliorSpostamento;
    QTableWidget* tblSpostamenti;
};

} // namespace tallivo
