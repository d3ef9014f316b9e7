#include "app_fonts.h"
#include "exercise_check.h"
#include "exercise_controller.h"
#include "exercise_file.h"
#include "fake_services.h"
#include "fdecifra.h"
#include "fnuovoesercizio.h"
#include "new_exercise_dialog.h"
#include "print_service.h"
#include "question_service.h"
#include "save_file_dialog.h"
#include "temp_files.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPageSize>
#include <QPdfWriter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>

using namespace tallivo;

namespace {

const std::string kPlain =
    "Nel mezzo del cammin di nostra vita mi ritrovai per una selva oscura, che la diritta via "
    "era smarrita. Ahi quanto a dir qual era e cosa dura esta selva selvaggia e aspra e forte.";

std::string Letters(std::string_view text) {
    std::string letters;
    for (const char c : text) {
        const unsigned folded = static_cast<unsigned char>(c) | 0x20U;
        if (folded >= 'a' && folded <= 'z') {
            letters += char(folded);
        }
    }
    return letters;
}

// Pages of a PDF as its page objects count them.
int PdfPages(const QByteArray& pdf) {
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page/") +
               pdf.count("/Type /Page>") + pdf.count("/Type /Page "));
}

class ScriptedNewExercise : public NewExerciseDialog {
public:
    std::optional<ExerciseRequest> Ask(QWidget*, const ExerciseChoices& offered) override {
        choices = offered;
        return request;
    }
    std::optional<ExerciseRequest> request;
    ExerciseChoices choices;
};

class ScriptedSave : public SaveFileDialog {
public:
    QString GetSaveFileName(QWidget*, const QString& suggested, const QString&) override {
        suggestions << suggested;
        return path;
    }
    QString path;
    QStringList suggestions;
};

class ScriptedQuestions : public QuestionService {
public:
    bool Confirm(QWidget*, const QString& text, const QString&, const QString&) override {
        asked << text;
        return answer;
    }
    bool answer = false;
    QStringList asked;
};

// Paints what would be printed on a PDF in memory.
class PdfPrinter : public PrintService {
public:
    bool Print(QWidget*, const QString&,
               const std::function<void(QPagedPaintDevice&)>& paint) override {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        paint(writer);
        return true;
    }
    QByteArray pdf;
};

// Returns the text of page of the PDF at path, or a null text without pdftotext.
QString PdfText(const QString& path, int page) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) {
        return QString();
    }
    QProcess process;
    process.start(tool, {QStringLiteral("-layout"), QStringLiteral("-f"), QString::number(page),
                         QStringLiteral("-l"), QString::number(page), path, QStringLiteral("-")});
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

class TestExerciseController : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallUiFont(); }

    void init() {
        fakes = std::make_unique<Fakes>();
        files = std::make_unique<TempFiles>();
        fakes->controller.Seed(7);
    }

    void everyCipherRoundTrips_data() {
        QTest::addColumn<QString>("cipher");
        FakeServices services;
        const FDecifra bench(services.model, services.messages);
        QVERIFY(!bench.Ciphers().isEmpty());
        for (const auto& [name, title] : bench.Ciphers()) {
            QTest::newRow(qPrintable(name)) << name;
        }
    }
    void everyCipherRoundTrips() {
        QFETCH(QString, cipher);
        FDecifra& bench = fakes->bench;
        const QString studentKey = bench.StudentKey(cipher);
        std::mt19937_64 random(11);
        const auto [ciphertext, key] =
            bench.EncryptWithRandomKey(cipher, kPlain, KeyOptions{5}, random);
        QVERIFY(!key.isEmpty());
        QVERIFY(Letters(ciphertext) != Letters(kPlain));
        QCOMPARE(bench.StudentKey(cipher), studentKey); // the drawn key stays hidden
        bench.TakeExerciseText(QStringLiteral("prova"), cipher, ciphertext);
        QCOMPARE(bench.ShowKey(cipher, key), std::nullopt);
        const std::string plain = bench.StudentPlainText(cipher);
        CipherPage* page = nullptr;
        for (CipherPage* each : bench.pages()) {
            page = each->CipherName() == cipher ? each : page;
        }
        QVERIFY(page != nullptr);
        if (page->EncryptKeepsLayout()) {
            QCOMPARE(plain, kPlain);
        }
        QCOMPARE(Letters(page->Encrypt(plain)), Letters(ciphertext));
    }

    void makesAnExerciseWithAHiddenKey() {
        const QString cipher = fakes->bench.Ciphers().value(0).first;
        fakes->ask.request = ExerciseRequest{cipher, Difficulty{100, false, 4}, "rosetta"};
        const QString emptyKey = fakes->bench.StudentKey(cipher);
        fakes->controller.NewExercise();
        QVERIFY(fakes->messages.texts.isEmpty());
        QVERIFY(fakes->ask.choices.samples.contains("rosetta"));
        const auto& exercise = fakes->controller.exercise();
        QVERIFY(exercise.has_value());
        QCOMPARE(Letters(exercise->ciphertext).size(), std::size_t(100));
        // Groups of five in capitals, and that text is the workbench's, with no key shown.
        QVERIFY(QRegularExpression("^([A-Z]{5} ){9}[A-Z]{5}\n")
                    .match(QString::fromStdString(exercise->ciphertext))
                    .hasMatch());
        QCOMPARE(fakes->bench.CurrentText().second, exercise->ciphertext);
        QCOMPARE(fakes->bench.StudentKey(cipher), emptyKey);
        fakes->bench.Undo(); // the hidden key is not in the history either
        QCOMPARE(fakes->bench.StudentKey(cipher), emptyKey);
        QCOMPARE(Letters(exercise->plaintext).size(), std::size_t(100));

        fakes->controller.Check();
        const QRegularExpression counted("^(\\d+) lettere giuste su 100\\.$");
        QVERIFY2(counted.match(fakes->messages.texts.value(0)).hasMatch(),
                 qPrintable(fakes->messages.texts.value(0)));

        fakes->controller.ShowSolution(); // answered Annulla: the student's key stays
        QCOMPARE(fakes->questions.asked.size(), 1);
        QCOMPARE(fakes->bench.StudentKey(cipher), emptyKey);
        fakes->questions.answer = true;
        fakes->controller.ShowSolution();
        QCOMPARE(fakes->bench.StudentKey(cipher), QString::fromStdString(exercise->key));
        fakes->controller.Check();
        QVERIFY2(fakes->messages.texts.last().startsWith("Esatto!"),
                 qPrintable(fakes->messages.texts.last()));
    }

    void refusesTextsItCannotUse_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("said");
        QTest::newRow("no text") << QByteArray() << "vuoto";
        QTest::newRow("no letters") << QByteArray("12, 34. 56!") << "non ha lettere";
        QTest::newRow("too few") << QByteArray("Ciao a te.") << "solo 7 lettere";
    }
    void refusesTextsItCannotUse() {
        QFETCH(QByteArray, text);
        QFETCH(QString, said);
        const QString cipher = fakes->bench.Ciphers().value(0).first;
        if (!text.isEmpty()) {
            fakes->bench.TakeExerciseText("mio", cipher, text.toStdString());
        }
        fakes->ask.request = ExerciseRequest{cipher, Difficulty{300, true, 4}, QString()};
        fakes->controller.NewExercise();
        QCOMPARE(fakes->messages.texts.size(), 1);
        QVERIFY2(fakes->messages.texts[0].contains(said), qPrintable(fakes->messages.texts[0]));
        QVERIFY(!fakes->controller.exercise().has_value());
        QCOMPARE(fakes->bench.CurrentText().second, text.toStdString()); // nothing lost
    }

    void savesAndOpensTheExercise() {
        MakeExercise();
        const Exercise made = *fakes->controller.exercise();
        fakes->save.path = files->Path("prova.esercizio");
        fakes->controller.Save();
        QVERIFY(fakes->messages.texts.isEmpty());

        Fakes other;
        other.dialog.names.enqueue(fakes->save.path);
        other.controller.Open();
        QVERIFY2(other.messages.texts.isEmpty(), qPrintable(other.messages.texts.value(0)));
        QVERIFY(other.controller.exercise() == made);
        QCOMPARE(other.bench.CurrentText().second, made.ciphertext);
    }

    void cancelledDialogsDoNothing() {
        MakeExercise();
        fakes->controller.Save();
        fakes->controller.ExportPdf();
        fakes->controller.Open();
        QCOMPARE(fakes->save.suggestions.size(), 2);
        QVERIFY(fakes->messages.texts.isEmpty());
        QVERIFY(QDir(files->Path(".")).entryList(QDir::Files).isEmpty());
    }

    void refusesADamagedFileAndKeepsTheWork() {
        MakeExercise();
        const Exercise before = *fakes->controller.exercise();
        Exercise foreign = before;
        foreign.cipher = "enigma";
        const QString bad =
            files->Write("altro.esercizio", QByteArray::fromStdString(WriteExercise(foreign)));
        fakes->dialog.names.enqueue(bad);
        fakes->controller.Open();
        QCOMPARE(fakes->messages.texts.size(), 1);
        QVERIFY2(fakes->messages.texts[0].contains("«enigma»"),
                 qPrintable(fakes->messages.texts[0]));
        QVERIFY(fakes->controller.exercise() == before);
        QCOMPARE(fakes->bench.CurrentText().second, before.ciphertext);
    }

    void writesTheWorksheetAndItsAnswers() {
        MakeExercise();
        const Exercise& exercise = *fakes->controller.exercise();
        fakes->save.path = files->Path("scheda.pdf");
        fakes->controller.ExportPdf();
        QVERIFY(fakes->messages.texts.isEmpty());
        QFile file(fakes->save.path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(PdfPages(pdf), 2);

        fakes->controller.Print();
        QCOMPARE(PdfPages(fakes->print.pdf), 2);

        const QString first = PdfText(fakes->save.path, 1);
        if (first.isNull()) {
            QSKIP("pdftotext (poppler-utils) is not installed: the pages' text is not read");
        }
        const QString firstGroup = QString::fromStdString(exercise.ciphertext.substr(0, 5));
        const QString key = QString::fromStdString(exercise.key);
        QVERIFY2(first.contains("Esercizio di crittoanalisi"), qPrintable(first));
        QVERIFY(first.contains(firstGroup));
        QVERIFY(first.contains("Frequenze delle lettere"));
        QVERIFY(!first.contains("Soluzione"));
        const QString second = PdfText(fakes->save.path, 2);
        QVERIFY2(second.contains("Soluzione") && second.contains(key), qPrintable(second));
        const QString plainStart = QString::fromStdString(exercise.plaintext.substr(0, 5));
        QVERIFY2(second.contains(plainStart, Qt::CaseInsensitive), qPrintable(second));
    }

    void theWorkbenchOffersTheActions() {
        QPushButton* button = fakes->bench.findChild<QPushButton*>("cmdEsercizio");
        QVERIFY(button != nullptr && button->menu() != nullptr);
        QStringList texts;
        for (QAction* action : button->menu()->actions()) {
            texts << action->text();
            QVERIFY(fakes->bench.actions().contains(action)); // its shortcut works in the window
        }
        QCOMPARE(texts,
                 QStringList({"Nuovo esercizio…", "Verifica", "Mostra soluzione",
                              "Salva esercizio…", "Apri esercizio…", "Esporta PDF…", "Stampa…"}));
        // Without an exercise only making or opening one is offered.
        QCOMPARE(button->menu()->actions()[1]->isEnabled(), false);
        QCOMPARE(button->menu()->actions()[4]->isEnabled(), true);
    }

    void theDialogAsksForWhatItShows() {
        ExerciseChoices choices{
            {{"cesare", "Cesare"}, {"vigenere", "Vigenère"}}, "testo.txt", {"rosetta"}};
        FNuovoEsercizio dialog(choices);
        dialog.findChild<QComboBox*>("cboCifrario")->setCurrentIndex(1);
        dialog.findChild<QComboBox*>("cboTesto")->setCurrentIndex(1);
        dialog.findChild<QSpinBox*>("spnLettere")->setValue(500);
        dialog.findChild<QCheckBox*>("chkSpazi")->setChecked(false);
        dialog.findChild<QSpinBox*>("spnLunghezzaChiave")->setValue(7);
        const ExerciseRequest request = dialog.Request();
        QCOMPARE(request.cipher, QString("vigenere"));
        QCOMPARE(request.sample, QString("rosetta"));
        QVERIFY(request.difficulty == (Difficulty{500, false, 7}));
        dialog.findChild<QComboBox*>("cboTesto")->setCurrentIndex(0);
        QCOMPARE(dialog.Request().sample, QString()); // the workbench's text

        FNuovoEsercizio nothing(ExerciseChoices{choices.ciphers, QString(), {}});
        QVERIFY(!nothing.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled());
    }

private:
    struct Fakes {
        ScriptedDialog dialog;
        RecordingMessages messages;
        ScriptedQuestions questions;
        ScriptedNewExercise ask;
        ScriptedSave save;
        PdfPrinter print;
        AnalysisModel model;
        FDecifra bench{model, messages};
        ExerciseController controller{
            bench, bench, ExerciseServices{messages, questions, ask, dialog, save, print}};
        Fakes() { bench.AddExerciseActions(controller.actions()); }
    };

    void MakeExercise() {
        const QString cipher = fakes->bench.Ciphers().value(0).first;
        fakes->ask.request = ExerciseRequest{cipher, Difficulty{240, true, 5}, "rosetta"};
        fakes->controller.NewExercise();
        QVERIFY(fakes->controller.exercise().has_value());
    }

    std::unique_ptr<Fakes> fakes;
    std::unique_ptr<TempFiles> files;
};

QTEST_MAIN(TestExerciseController)
#include "tst_exercise_controller.moc"
