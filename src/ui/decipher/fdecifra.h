#pragma once

#include "analysis_model.h"
#include "cipher_page.h"

#include <QWidget>

#include <memory>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
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
class FDecifra : public QWidget {
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

signals:
    // The plaintext pane shows the current key's plaintext.
    void plainTextShown();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ApplyZoom(double factor);
    // Works on the text of result from now on, with empty keys.
    void Take(const AnalysisResult& result);
    void OnResult(const AnalysisResult& result);
    void ShowLanguages();
    const WorkLanguage& Language() const;
    CipherPage* CurrentPage() const;
    // Shows the plaintext under the current page's key and its figures.
    void ShowPlainText();
    void ShowFigures(const std::vector<std::int32_t>& counts);

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
    QPushButton* cmdCopiaTesto;
    QPushButton* cmdCopiaChiave;
    QPushButton* cmdChiudi;
};

} // namespace tallivo
