#pragma once

#include "analysis_model.h"
#include "cipher_page.h"
#include "exercise_host.h"
#include "plain_text.h"

#include <QWidget>

#include <map>
#include <memory>
#include <random>
#include <vector>

class QAction;
class QCheckBox;
class QHBoxLayout;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace tallivo {

class BackgroundJob;
class LetterBars;
class MessageService;
class TextPane;
class ZoomControl;

// The workbench: one text and a page per cipher, each with its key and the tools that find
// it; the plaintext under the current page's key, shown whole and kept up to date with every
// change of the key, with its bars against a language, its index of coincidence and its
// chi-squared. It takes the model's text when it opens; a later analysis of another text
// never replaces the text and the keys the student works on until the student asks for it.
// Every change of a page's key can be undone and redone. With "Cifra" the teacher enciphers
// the text with the page's key instead, shown as it is or in groups of five.
class FDecifra : public QWidget, public ExerciseHost {
    Q_OBJECT

public:
    FDecifra(const AnalysisModel& model, MessageService& messages, QWidget* parent = nullptr);
    ~FDecifra() override;

    // The plaintext as the pane shows it.
    QString PlainText() const;

    // The key of the current page as "Copia chiave" copies it.
    QString KeyText() const;

    // The pages, in the order of their tabs.
    const std::vector<CipherPage*>& pages() const { return pages_; }

    // Shows the page of the cipher named cipherName (a page's CipherName).
    void ShowPage(const QString& cipherName);

    // Says text in the window's message line and to a screen reader.
    void Announce(const QString& text);

    // Takes back the last change of the current page's key, or makes it again.
    void Undo();
    void Redo();

    // Whether the window enciphers the text with the page's key rather than deciphering it.
    bool IsEnciphering() const;

    // Puts the exercises' actions in the window: under an "Esercizio" button in the bottom row,
    // and their shortcuts wherever the focus is in the window.
    void AddExerciseActions(const QList<QAction*>& actions);

    // ExerciseHost
    std::pair<QString, std::string> CurrentText() const override;
    QList<std::pair<QString, QString>> Ciphers() const override;
    std::pair<std::string, QString> EncryptWithRandomKey(const QString& cipherName,
                                                         std::string_view plain,
                                                         const KeyOptions& options,
                                                         std::mt19937_64& random) override;
    void TakeExerciseText(const QString& name, const QString& cipherName,
                          const std::string& ciphertext) override;
    QString StudentKey(const QString& cipherName) const override;
    std::string StudentPlainText(const QString& cipherName) const override;
    std::optional<QString> ShowKey(const QString& cipherName, const QString& key) override;

signals:
    // The plaintext pane shows the current key's plaintext.
    void plainTextShown();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A page's changes of key, oldest first, and where the page stands among them.
    struct History {
        std::vector<QString> states;
        std::size_t at = 0;
    };

    void ApplyZoom(double factor);
    // Works on the text of result from now on, with empty keys.
    void Take(const AnalysisResult& result);
    // Works on text, named name, from now on, with empty keys.
    void TakeText(const QString& name, std::shared_ptr<const CipherText> text);
    CipherPage* PageNamed(const QString& cipherName) const;
    // Notes a change of page's key for undo.
    void Remember(CipherPage* page);
    void StepHistory(int by);
    void ShowEnciphering(bool enciphering);
    void CopyChart();
    void OnResult(const AnalysisResult& result);
    void ShowLanguages();
    const WorkLanguage& Language() const;
    CipherPage* CurrentPage() const;
    // Shows the plaintext under the current page's key and its figures.
    void ShowPlainText();
    void ShowFigures(const std::vector<std::int32_t>& counts);
    // Shows the text enciphered under the current page's key, as the chosen form has it.
    void ShowCipherText();
    // Shows what mapping makes of text in the pane, built beside the window when it is long.
    void ShowMapped(std::shared_ptr<const CipherText> text,
                    std::shared_ptr<const LetterMapping> mapping, TextReading reading);

    const AnalysisModel& model_;
    MessageService& messages_;
    std::vector<CipherPage*> pages_;
    WorkText work_;
    bool utf8_ = true;
    bool newText_ = false; // the pane is to start from the top of a text just taken
    std::vector<WorkLanguage> languages_;
    BackgroundJob* periodsJob_;
    BackgroundJob* plainJob_;
    ZoomControl* zoom_;
    bool placed_ = false;
    std::map<CipherPage*, History> histories_;
    bool quiet_ = false; // the page's key is changed by the window itself, not the student
    std::mt19937_64 random_{std::random_device{}()};
    std::vector<std::int32_t> shownCounts_;

    QLabel* lblTesto;
    QComboBox* cboLingua;
    QFrame* fraNuovoTesto;
    QLabel* lblNuovoTesto;
    QPushButton* cmdUsaNuovoTesto;
    QTabWidget* tabModi;
    LetterBars* barsTesto;
    QLabel* lblFigure;
    TextPane* txtChiaro;
    QLabel* lblAnnuncio;
    QCheckBox* chkCifra;
    QComboBox* cboFormato;
    QPushButton* cmdChiaveCasuale;
    QSpinBox* spnLunghezza;
    QPushButton* cmdAnnullaModifica;
    QPushButton* cmdRipeti;
    QLabel* lblTestoChiaro;
    QPushButton* cmdCopiaGrafico;
    QPushButton* cmdCopiaTesto;
    QPushButton* cmdCopiaChiave;
    QPushButton* cmdChiudi;
    QHBoxLayout* rowButtons_;
};

} // namespace tallivo
