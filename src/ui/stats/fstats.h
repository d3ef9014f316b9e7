#pragma once

#include "text_statistics.h"

#include <QDialog>
#include <QLocale>

class QPlainTextEdit;
class QPushButton;

namespace tallivo {

// The statistics window: the letters, the index of coincidence, the entropy, the distance from
// the chosen reference, the frequency order and the commonest bigrams and trigrams, numbers in
// the user's locale. Its text can be selected and copied; "Copia" copies it all. Modal,
// centred like the information window; "Chiudi" or Escape closes it.
class FStats : public QDialog {
    Q_OBJECT

public:
    FStats(const TextStatistics& statistics, const QString& referenceName,
           QWidget* parent = nullptr);

    // Returns the text the window shows, formatted in locale.
    static QString Text(const TextStatistics& statistics, const QString& referenceName,
                        const QLocale& locale = QLocale());

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPlainTextEdit* txtStats;
    QPushButton* cmdCopia;
    QPushButton* cmdChiudi;
};

} // namespace tallivo
