#include "exercise_controller.h"

#include "exercise_check.h"
#include "exercise_file.h"
#include "exercise_host.h"
#include "letter_groups.h"
#include "message_service.h"
#include "new_exercise_dialog.h"
#include "open_file_dialog.h"
#include "print_service.h"
#include "question_service.h"
#include "sample_texts.h"
#include "save_file_dialog.h"
#include "worksheet.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QWidget>

namespace tallivo {

namespace {

// The letters of text, in lower case, for telling a cipher that changes none of them.
std::string LowerLetters(std::string_view text) {
    std::string letters;
    for (const char c : text) {
        const unsigned folded = static_cast<unsigned char>(c) | 0x20U;
        if (folded >= 'a' && folded <= 'z') {
            letters += char(folded);
        }
    }
    return letters;
}

// A cipher may draw a key that changes nothing (a shift of 0): so many draws are tried.
constexpr int kDraws = 8;

const QString kExerciseFilter = QStringLiteral("Esercizi di Tallivo (*.esercizio)");

} // namespace

ExerciseController::ExerciseController(ExerciseHost& host, QWidget& window,
                                       const ExerciseServices& services, QObject* parent)
    : QObject(parent)
    , host_(host)
    , window_(window)
    , services_(services) {
    setObjectName(QStringLiteral("ExerciseController"));
    const auto add = [this](const char* name, const QString& text, const QKeySequence& key,
                            void (ExerciseController::*slot)()) {
        auto* action = new QAction(text, this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        if (!key.isEmpty()) {
            action->setToolTip(QStringLiteral("%1 (%2)").arg(
                QString(text).remove(QStringLiteral("…")), key.toString(QKeySequence::NativeText)));
        }
        connect(action, &QAction::triggered, this, slot);
        actions_.append(action);
    };
    add("actNuovoEsercizio", QStringLiteral("Nuovo esercizio…"), QKeySequence(Qt::CTRL | Qt::Key_N),
        &ExerciseController::NewExercise);
    add("actVerifica", QStringLiteral("Verifica"), QKeySequence(Qt::CTRL | Qt::Key_Return),
        &ExerciseController::Check);
    add("actMostraSoluzione", QStringLiteral("Mostra soluzione"), QKeySequence(),
        &ExerciseController::ShowSolution);
    add("actSalvaEsercizio", QStringLiteral("Salva esercizio…"), QKeySequence(Qt::CTRL | Qt::Key_S),
        &ExerciseController::Save);
    add("actApriEsercizio", QStringLiteral("Apri esercizio…"), QKeySequence(Qt::CTRL | Qt::Key_O),
        &ExerciseController::Open);
    add("actEsportaPdf", QStringLiteral("Esporta PDF…"),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), &ExerciseController::ExportPdf);
    add("actStampa", QStringLiteral("Stampa…"), QKeySequence(Qt::CTRL | Qt::Key_P),
        &ExerciseController::Print);
    UpdateActions();
}

void ExerciseController::UpdateActions() {
    // Without an exercise only making or opening one does something.
    for (int i : {1, 2, 3, 5, 6}) {
        actions_[i]->setEnabled(exercise_.has_value());
    }
}

void ExerciseController::Tell(const QString& text, const QString& title) const {
    services_.messages.ShowMessage(&window_, text, title);
}

bool ExerciseController::HasExercise(const QString& title) const {
    if (!exercise_) {
        Tell(QStringLiteral("Non c'è ancora un esercizio: creane uno con «Nuovo esercizio…» o "
                            "aprine uno con «Apri esercizio…»."),
             title);
    }
    return exercise_.has_value();
}

QString ExerciseController::CipherTitle(const QString& cipherName) const {
    for (const auto& [name, title] : host_.Ciphers()) {
        if (name == cipherName) {
            return title;
        }
    }
    return cipherName;
}

void ExerciseController::NewExercise() {
    const QString title = QStringLiteral("Nuovo esercizio");
    ExerciseChoices choices;
    choices.ciphers = host_.Ciphers();
    const auto [currentName, currentText] = host_.CurrentText();
    choices.currentText = currentText.empty() ? QString() : currentName;
    for (const QString& name : SampleTexts::Names()) {
        if (!SampleTexts::IsCiphertext(name)) {
            choices.samples << name;
        }
    }
    const std::optional<ExerciseRequest> request = services_.newExercise.Ask(&window_, choices);
    if (!request) {
        return;
    }
    const bool sample = !request->sample.isEmpty();
    const std::string text =
        sample ? SampleTexts::Text(request->sample).toStdString() : currentText;
    const QString source = sample ? request->sample : currentName;
    if (text.empty()) {
        Tell(QStringLiteral("Il testo scelto è vuoto: non c'è niente da cifrare."), title);
        return;
    }
    const int letters = LetterCount(text);
    if (letters < kExerciseMinLetters) {
        Tell(letters == 0 ? QStringLiteral("Il testo scelto non ha lettere da cifrare.")
                          : QStringLiteral("Il testo scelto ha solo %1 lettere: un esercizio ne "
                                           "vuole almeno %2.")
                                .arg(letters)
                                .arg(kExerciseMinLetters),
             title);
        return;
    }
    const Difficulty difficulty = request->difficulty;
    const std::string plain = ExercisePlainText(text, difficulty.letters, difficulty.spaces);
    std::pair<std::string, QString> made;
    for (int draw = 0; draw < kDraws; ++draw) {
        made = host_.EncryptWithRandomKey(request->cipher, plain, KeyOptions{difficulty.keyLength},
                                          random_);
        if (LowerLetters(made.first) != LowerLetters(plain)) {
            break;
        }
        made = {};
    }
    if (made.first.empty()) {
        Tell(QStringLiteral("Il cifrario «%1» non cifra il testo: scegline un altro.")
                 .arg(CipherTitle(request->cipher)),
             title);
        return;
    }
    std::string ciphertext = std::move(made.first);
    // Without spaces, or from a cipher that gives the letters alone, in groups of five.
    if (!difficulty.spaces || std::size_t(LetterCount(ciphertext)) == ciphertext.size()) {
        ciphertext = GroupsOfFive(ciphertext);
    }
    Exercise exercise;
    exercise.cipher = request->cipher.toStdString();
    exercise.key = made.second.toStdString();
    exercise.source = source.toStdString();
    exercise.difficulty =
        Difficulty{std::min(difficulty.letters, letters), difficulty.spaces, difficulty.keyLength};
    exercise.ciphertext = std::move(ciphertext);
    // The hidden plaintext is what the workbench makes of the ciphertext under the hidden key,
    // letter for letter as the student's will be; the key is then taken away again, with its
    // history, before the window shows anything.
    const QString name = QStringLiteral("Esercizio — %1").arg(CipherTitle(request->cipher));
    host_.TakeExerciseText(name, request->cipher, exercise.ciphertext);
    if (const std::optional<QString> refused = host_.ShowKey(request->cipher, made.second)) {
        host_.TakeExerciseText(name, request->cipher, exercise.ciphertext);
        Tell(*refused, title);
        return;
    }
    exercise.plaintext = host_.StudentPlainText(request->cipher);
    host_.TakeExerciseText(name, request->cipher, exercise.ciphertext);
    exercise_ = std::move(exercise);
    UpdateActions();
}

void ExerciseController::Check() {
    const QString title = QStringLiteral("Verifica");
    if (!HasExercise(title)) {
        return;
    }
    const QString cipher = QString::fromStdString(exercise_->cipher);
    const std::string student = host_.StudentPlainText(cipher);
    if (student.size() != exercise_->plaintext.size()) {
        Tell(QStringLiteral("Il banco non lavora più sul testo dell'esercizio: riaprilo con "
                            "«Apri esercizio…»."),
             title);
        return;
    }
    const CheckResult result = CheckPlainText(exercise_->plaintext, student);
    const QLocale locale;
    Tell(result.Solved()
             ? QStringLiteral("Esatto! Il testo in chiaro è giusto: tutte le %1 lettere.")
                   .arg(locale.toString(result.total))
             : QStringLiteral("%1 lettere giuste su %2.")
                   .arg(locale.toString(result.right), locale.toString(result.total)),
         title);
}

void ExerciseController::ShowSolution() {
    const QString title = QStringLiteral("Mostra soluzione");
    if (!HasExercise(title)) {
        return;
    }
    if (!services_.questions.Confirm(&window_,
                                     QStringLiteral("Vuoi vedere la soluzione? La chiave "
                                                    "dell'esercizio prenderà il posto della tua "
                                                    "(«Annulla modifica» la riporta)."),
                                     title, QStringLiteral("Mostra soluzione"))) {
        return;
    }
    if (const std::optional<QString> refused = host_.ShowKey(
            QString::fromStdString(exercise_->cipher), QString::fromStdString(exercise_->key))) {
        Tell(*refused, title);
    }
}

void ExerciseController::Save() {
    const QString title = QStringLiteral("Salva esercizio");
    if (!HasExercise(title)) {
        return;
    }
    const QString path = services_.save.GetSaveFileName(
        &window_,
        QStringLiteral("esercizio-%1.esercizio").arg(QString::fromStdString(exercise_->cipher)),
        kExerciseFilter);
    if (path.isEmpty()) {
        return;
    }
    QSaveFile file(path);
    const QByteArray bytes = QByteArray::fromStdString(WriteExercise(*exercise_));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        Tell(QStringLiteral("Non è stato possibile salvare l'esercizio in «%1»: %2.")
                 .arg(QFileInfo(path).fileName(), file.errorString()),
             title);
    }
}

void ExerciseController::Open() {
    const QString title = QStringLiteral("Apri esercizio");
    const QString path = services_.open.GetOpenFileName(&window_);
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Tell(QStringLiteral("Non è stato possibile aprire «%1»: %2.")
                 .arg(QFileInfo(path).fileName(), file.errorString()),
             title);
        return;
    }
    // Never more than one byte past the largest exercise: the reading refuses such a file.
    const QByteArray bytes = file.read(qint64(kExerciseFileLimit) + 1);
    std::vector<std::string> ciphers;
    for (const auto& cipher : host_.Ciphers()) {
        ciphers.push_back(cipher.first.toStdString());
    }
    const ExerciseReading read =
        ReadExercise(std::string_view(bytes.constData(), std::size_t(bytes.size())), ciphers);
    if (!read.exercise) {
        Tell(QStringLiteral("«%1»: %2")
                 .arg(QFileInfo(path).fileName(), QString::fromStdString(read.message)),
             title);
        return;
    }
    const QString cipher = QString::fromStdString(read.exercise->cipher);
    host_.TakeExerciseText(QStringLiteral("Esercizio — %1").arg(QFileInfo(path).fileName()), cipher,
                           read.exercise->ciphertext);
    exercise_ = *read.exercise;
    UpdateActions();
}

void ExerciseController::ExportPdf() {
    const QString title = QStringLiteral("Esporta PDF");
    if (!HasExercise(title)) {
        return;
    }
    const QString path = services_.save.GetSaveFileName(
        &window_, QStringLiteral("esercizio-%1.pdf").arg(QString::fromStdString(exercise_->cipher)),
        QStringLiteral("Documenti PDF (*.pdf)"));
    if (path.isEmpty()) {
        return;
    }
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
        pdf.setResolution(300);
        pdf.setTitle(QStringLiteral("Esercizio di crittoanalisi"));
        pdf.setCreator(QStringLiteral("Tallivo"));
        written =
            PaintWorksheet(pdf, *exercise_, CipherTitle(QString::fromStdString(exercise_->cipher)),
                           services_.messages) > 0;
    }
    if (!written || !file.commit()) {
        Tell(QStringLiteral("Non è stato possibile scrivere il PDF in «%1»: %2.")
                 .arg(QFileInfo(path).fileName(), file.errorString()),
             title);
    }
}

void ExerciseController::Print() {
    const QString title = QStringLiteral("Stampa");
    if (!HasExercise(title)) {
        return;
    }
    const Exercise exercise = *exercise_;
    const QString cipherTitle = CipherTitle(QString::fromStdString(exercise.cipher));
    services_.print.Print(
        &window_, QStringLiteral("Esercizio di crittoanalisi"),
        [this, &exercise, &cipherTitle](QPagedPaintDevice& device) {
            if (PaintWorksheet(device, exercise, cipherTitle, services_.messages) == 0) {
                Tell(QStringLiteral("La stampante non accetta la pagina."),
                     QStringLiteral("Stampa"));
            }
        });
}

} // namespace tallivo
