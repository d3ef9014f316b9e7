#pragma once

#include <QDialog>
#include <QStringList>

class QPushButton;

namespace tallivo {

// The statistics window: one figure per line (letters, index of coincidence, entropy, the
// distance from the chosen reference, the frequency order, the commonest bigrams and
// trigrams). Modal, centred like the information window; "Chiudi" or Escape closes it.
class FStats : public QDialog {
    Q_OBJECT

public:
    FStats(const QStringList& lines, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* cmdChiudi;
};

} // namespace tallivo
