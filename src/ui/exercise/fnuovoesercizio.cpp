#include "fnuovoesercizio.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tallivo {

namespace {

QSpinBox* Spin(QWidget* parent, const char* name, const QString& accessible, int low, int high,
               int value) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setAccessibleName(accessible);
    spin->setRange(low, high);
    spin->setValue(value);
    return spin;
}

} // namespace

FNuovoEsercizio::FNuovoEsercizio(const ExerciseChoices& choices, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FNuovoEsercizio"));
    setWindowTitle(QStringLiteral("Nuovo esercizio"));
    setAccessibleName(QStringLiteral("Nuovo esercizio"));

    cboCifrario = new QComboBox(this);
    cboCifrario->setObjectName(QStringLiteral("cboCifrario"));
    cboCifrario->setAccessibleName(QStringLiteral("Cifrario"));
    for (const auto& [name, title] : choices.ciphers) {
        cboCifrario->addItem(title, name);
    }
    cboTesto = new QComboBox(this);
    cboTesto->setObjectName(QStringLiteral("cboTesto"));
    cboTesto->setAccessibleName(QStringLiteral("Testo"));
    if (!choices.currentText.isEmpty()) {
        cboTesto->addItem(QStringLiteral("Il testo del banco: %1").arg(choices.currentText),
                          QString());
    }
    for (const QString& sample : choices.samples) {
        cboTesto->addItem(QStringLiteral("Lettura di esempio: %1").arg(sample), sample);
    }
    spnLettere = Spin(this, "spnLettere", QStringLiteral("Lettere da cifrare"), kExerciseMinLetters,
                      kExerciseMaxLetters, 300);
    spnLettere->setSingleStep(50);
    spnLettere->setToolTip(QStringLiteral("Più lettere rendono l'analisi delle frequenze più "
                                          "facile"));
    chkSpazi = new QCheckBox(QStringLiteral("Mantieni gli &spazi tra le parole"), this);
    chkSpazi->setObjectName(QStringLiteral("chkSpazi"));
    chkSpazi->setAccessibleName(QStringLiteral("Mantieni gli spazi tra le parole"));
    chkSpazi->setChecked(true);
    chkSpazi->setToolTip(QStringLiteral("Senza spazi il testo cifrato è dato in gruppi di "
                                        "cinque lettere: è più difficile"));
    spnLunghezzaChiave =
        Spin(this, "spnLunghezzaChiave", QStringLiteral("Lunghezza della chiave"), 2, 20, 6);
    spnLunghezzaChiave->setToolTip(QStringLiteral("Lettere della parola chiave, colonne o binari, "
                                                  "dove il cifrario ne ha"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Cifrario:"), cboCifrario);
    form->addRow(QStringLiteral("&Testo:"), cboTesto);
    form->addRow(QStringLiteral("&Lettere da cifrare:"), spnLettere);
    form->addRow(QString(), chkSpazi);
    form->addRow(QStringLiteral("Lunghezza della c&hiave:"), spnLunghezzaChiave);

    btnRisposta = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    btnRisposta->setObjectName(QStringLiteral("btnRisposta"));
    btnRisposta->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Crea esercizio"));
    btnRisposta->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    // Nothing to make an exercise of, or no cipher to make it with: only Annulla.
    btnRisposta->button(QDialogButtonBox::Ok)
        ->setEnabled(cboCifrario->count() > 0 && cboTesto->count() > 0);
    connect(btnRisposta, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(btnRisposta, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Il testo scelto viene cifrato con una chiave "
                                            "casuale, che resta nascosta fino a «Mostra "
                                            "soluzione»."),
                             this);
    intro->setObjectName(QStringLiteral("lblSpiegazione"));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(btnRisposta);
}

ExerciseRequest FNuovoEsercizio::Request() const {
    return ExerciseRequest{
        cboCifrario->currentData().toString(),
        Difficulty{spnLettere->value(), chkSpazi->isChecked(), spnLunghezzaChiave->value()},
        cboTesto->currentData().toString()};
}

std::optional<ExerciseRequest> QtNewExerciseDialog::Ask(QWidget* parent,
                                                        const ExerciseChoices& choices) {
    FNuovoEsercizio dialog(choices, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Request();
}

} // namespace tallivo
