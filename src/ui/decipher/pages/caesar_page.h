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
    void SetText(const WorkText& text) override;
    void SetLanguage(const WorkLanguage& language) override;
    std::shared_ptr<const LetterMapping> Mapping() const override;
    std::vector<std::int32_t> PlainCounts() const override;
    QString KeyText() const override;

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
