#pragma once

#include "exercise.h"
#include "exercise_services.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>
#include <random>

class QAction;
class QWidget;

namespace tallivo {

class ExerciseHost;

// The teacher's exercises in the workbench: makes one from a text with a random hidden key,
// checks the student's plaintext against it without telling it, shows its key when asked,
// saves and opens it as a file, and writes its worksheet as a PDF or to a printer. Nothing is
// written but to the file the Save dialog gives.
class ExerciseController : public QObject {
    Q_OBJECT

public:
    // host is the workbench, window what the dialogs are shown over.
    ExerciseController(ExerciseHost& host, QWidget& window, const ExerciseServices& services,
                       QObject* parent = nullptr);

    // "Nuovo esercizio…", "Verifica", "Mostra soluzione", "Salva esercizio…", "Apri esercizio…",
    // "Esporta PDF…", "Stampa…", in this order, with their shortcuts.
    QList<QAction*> actions() const { return actions_; }

    // The exercise in use, once one is made or opened.
    const std::optional<Exercise>& exercise() const { return exercise_; }

    void NewExercise();
    void Check();
    void ShowSolution();
    void Save();
    void Open();
    void ExportPdf();
    void Print();

    // Seeds the random keys, so that a test draws the same ones each run.
    void Seed(std::uint64_t seed) { random_.seed(seed); }

private:
    // Says text under title.
    void Tell(const QString& text, const QString& title) const;
    // Whether there is an exercise; says so when there is not.
    bool HasExercise(const QString& title) const;
    QString CipherTitle(const QString& cipherName) const;
    void UpdateActions();

    ExerciseHost& host_;
    QWidget& window_;
    ExerciseServices services_;
    std::optional<Exercise> exercise_;
    std::mt19937_64 random_{std::random_device{}()};
    QList<QAction*> actions_;
};

} // namespace tallivo
