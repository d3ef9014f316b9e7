#pragma once

#include "analysis_model.h"
#include "text_statistics.h"

#include <QDialog>
#include <QLocale>

class QPlainTextEdit;
class QPushButton;

namespace tallivo {

class ZoomControl;

// The statistics window: the letters, the index of coincidence, the entropy, the distance from
// the chosen reference, the frequency order and the commonest bigrams and trigrams, numbers in
// the user's locale. It follows the model's last analysis and reference while it stays open,
// beside the other windows. Its text can be selected and copied; "Copia" copies it all;
// "Chiudi" or Escape closes it.
class FStats : public QDialog {
    Q_OBJECT

public:
    explicit FStats(const AnalysisModel& model, QWidget* parent = nullptr);

    // Returns the text the window shows, formatted in locale; partial says that the n-grams
    // cover only the start of the text.
    static QString Text(const TextStatistics& statistics, const QString& referenceName,
                        const QLocale& locale = QLocale(), bool partial = false);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ShowModel();

    const AnalysisModel& model_;
    bool centred_ = false;
    ZoomControl* zoom_;
    QPlainTextEdit* txtStats;
    QPushButton* cmdCopia;
    QPushButton* cmdChiudi;
};

} // namespace tallivo
