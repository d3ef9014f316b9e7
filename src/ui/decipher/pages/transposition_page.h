#pragma once

#include "cipher_page.h"
#include "columnar_key.h"
#include "rail_fence_key.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTableWidget;

namespace tallivo {

class BackgroundJob;
class SearchProgressRow;

// The letters of the text moved, not changed: by columns (the ciphertext's columns shown side
// by side as a grid the student reorders, by hand or by the best order the quadgrams find) or,
// as a choice of the page, by a rail fence (every number of rails tried and ranked).
//
// The key as text: the rank of each column in reading order, "3 1 4 2", or a keyword whose
// letters rank the columns alphabetically ("gatto"); for the rail fence "staccionata 3".
class TranspositionPage : public CipherPage {
    Q_OBJECT

public:
    // The columns and the rails a key may have.
    static constexpr int kFewestColumns = 2;
    static constexpr int kMostColumns = 12;
    // The rows of the grid shown; the plaintext pane shows the whole text.
    static constexpr int kShownRows = 60;

    TranspositionPage(const PageContext& context, QWidget* parent = nullptr);
    ~TranspositionPage() override;

    QString Title() const override { return QStringLiteral("Trasposizione"); }
    QString CipherName() const override { return QStringLiteral("trasposizione"); }
    void SetText(const WorkText& text) override;
    void SetLanguage(const WorkLanguage& language) override;
    std::shared_ptr<const LetterMapping> Mapping() const override;
    std::vector<std::int32_t> PlainCounts() const override;
    QString KeyText() const override;
    std::optional<QString> SetKeyText(const QString& key) override;
    std::string Encrypt(std::string_view plain) const override;
    void RandomKey(std::mt19937_64& random, const KeyOptions& options) override;

    // Whether the page works on a rail fence rather than on columns.
    bool IsRailFence() const;

    // Moves the grid's column at place (0 = leftmost) by one place, left (-1) or right (+1).
    void MoveColumn(int place, int by);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Makes key (or rails) the key in use and shows it; keyChanged follows.
    void UseColumnar(const ColumnarKey& key);
    void UseRailFence(const RailFenceKey& key);
    void ShowMode(bool railFence);
    void ShowColumnar();
    void ShowGrid();
    void ReadOrderLine(const QString& text);
    // Takes the order the grid's header was dragged to.
    void TakeDraggedOrder();
    void FindBestKey();
    void ShowRanking(const std::vector<std::pair<int, double>>& ranking);
    // The rank of each column (1-based, as the key is written), left to right.
    std::vector<int> Ranks() const;

    WorkText text_;
    WorkLanguage language_;
    ColumnarKey columnar_;
    RailFenceKey railFence_;
    std::vector<int> rankedRails_; // the rails of each row of the ranking
    BackgroundJob* searchJob_;

    QRadioButton* optColonne;
    QRadioButton* optStaccionata;
    QStackedWidget* stkModo;
    QSpinBox* spnColonne;
    QLineEdit* txtOrdine;
    QCheckBox* chkSoloColonne;
    QTableWidget* tblGriglia;
    QLabel* lblGriglia;
    QPushButton* cmdSinistra;
    QPushButton* cmdDestra;
    QSpinBox* spnBinari;
    QTableWidget* tblBinari;
    QPushButton* cmdMigliorChiave;
    QLabel* lblSuggerimento;
    SearchProgressRow* prgRicerca;
};

} // namespace tallivo
