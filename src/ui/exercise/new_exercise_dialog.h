#pragma once

#include "exercise.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

class QWidget;

namespace tallivo {

// What the teacher can make an exercise of: the workbench's ciphers as (CipherName, title)
// pairs, the name of the workbench's text (empty when it has none) and the sample readings.
struct ExerciseChoices {
    QList<std::pair<QString, QString>> ciphers;
    QString currentText;
    QStringList samples;
};

// What the teacher asked for: the cipher, the difficulty, and the text, the workbench's
// (sample empty) or a sample reading by name.
struct ExerciseRequest {
    QString cipher;
    Difficulty difficulty;
    QString sample;
};

// The "Nuovo esercizio" dialog: asks modally and returns the request, or nothing when the
// teacher cancels. Tests hand the controller a scripted one.
class NewExerciseDialog {
public:
    virtual ~NewExerciseDialog() = default;
    virtual std::optional<ExerciseRequest> Ask(QWidget* parent, const ExerciseChoices& choices) = 0;
};

// The program's own dialog, FNuovoEsercizio.
class QtNewExerciseDialog : public NewExerciseDialog {
public:
    std::optional<ExerciseRequest> Ask(QWidget* parent, const ExerciseChoices& choices) override;
};

} // namespace tallivo
