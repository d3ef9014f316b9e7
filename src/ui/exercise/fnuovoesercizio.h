#pragma once

#include "new_exercise_dialog.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QSpinBox;

namespace tallivo {

// The teacher's choices for a new exercise: the cipher, the text (the workbench's or a sample
// reading) and the difficulty (how many letters, whether the spaces between words stay, how
// long the key is where the cipher's key has a length).
class FNuovoEsercizio : public QDialog {
    Q_OBJECT

public:
    FNuovoEsercizio(const ExerciseChoices& choices, QWidget* parent = nullptr);

    // What the dialog's controls ask for now.
    ExerciseRequest Request() const;

private:
    QComboBox* cboCifrario;
    QComboBox* cboTesto;
    QSpinBox* spnLettere;
    QCheckBox* chkSpazi;
    QSpinBox* spnLunghezzaChiave;
    QDialogButtonBox* btnRisposta;
};

} // namespace tallivo
