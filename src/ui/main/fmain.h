#pragma once

// The road of one analysis through the program:
//   cmdBrowse_Click (FMain) asks the OpenFileDialog for a name and hands a TextSource to
//   Analyse, which gives it to the SourceCounter: the counter runs CountLetters (analysis) on
//   a worker thread, once, in blocks, into fresh counters, with the hourglass and, for a long
//   read, the progress window; in the same pass it keeps the text's first 16 MiB for the
//   statistics and the workbench. Only a count that succeeded comes back: it becomes the
//   AnalysisModel's result, and the model tells FMain, which replaces LetterCounts and
//   TotalLetters, and ShowReport fills lstFreq with ReportLines and has a BarPainter (a VGauge
//   and the marker rule) paint each PictureArea picLett up to BarHeight. A failure has become
//   one Italian sentence through the MessageService and changes nothing here. opt_Click
//   redraws the bars from the stored counts with another gauge maximum (Rescale).
//   What is built around the window (the report's menu, the other windows) is composed in
//   src/app: it calls Analyse, observes the model, and gives the window its menu; the window
//   knows nothing of it.

#include "analysis_model.h"
#include "reference_frequencies.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QMenu;
class QMimeData;
class QPushButton;
class QRadioButton;
class QSvgWidget;

namespace tallivo {

class BarPainter;
class PictureArea;
class SourceCounter;
class TextSource;
struct PlatformServices;

// The main window and the program: the bars of the 26 letters, the scale options, the report
// list and the commands. It shows the model's last analysis and holds its counts.
class FMain : public QWidget {
    Q_OBJECT

public:
    FMain(const PlatformServices& services, SourceCounter& counter, AnalysisModel& model,
          QWidget* parent = nullptr);
    ~FMain() override;

    // The state of the last analysis shown: no counts before the first one.
    const std::vector<std::int32_t>& letterCounts() const { return LetterCounts; }
    std::int32_t totalLetters() const { return TotalLetters; }
    std::int16_t scaleIndex() const { return ScaleIndex; }

    // Analyses source as if it had been picked in the Open dialog; ignored while a count runs.
    void Analyse(const TextSource& source);

    // Marks on each bar the percentage a reference expects of its letter, or no marks.
    void SetMarkers(const std::optional<ReferenceTable>& expected);

    // Opens menu on the report list and the bars (right click, the Menu key, Shift+F10);
    // until there is a report, hint is their tooltip.
    void SetReportMenu(QMenu* menu, const QString& hint);

signals:
    // The report list and the bars show a new analysis.
    void analysed();
    // A text or files were dropped on the window (drops are taken once setAcceptDrops is on).
    void dropped(const QMimeData* data);

public slots:
    void cmdBrowse_Click();
    void cmdEsci_Click();
    void cmdHelp_Click();
    void opt_Click(int index);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    void Form_Load();
    // Makes a painter with the range 0 to gaugeMax, set up on the first letter's picture.
    BarPainter PreparedPainter(std::int16_t gaugeMax);
    void ShowResult(const AnalysisResult& result);
    void ShowReport();
    void Rescale(std::int16_t gaugeMax);
    // Each bar's tooltip and accessible description: its count, percentage and expected value.
    void UpdateBarHints();
    void KeepTabStopOnCheckedOption();
    // Returns whether widget is the report list, a bar or part of one.
    bool IsReportView(const QWidget* widget) const;
    void PopupReportMenu(const QPoint& globalPos);

    const PlatformServices& services_;
    SourceCounter& counter_;
    AnalysisModel& model_;
    bool centred_ = false;
    QMenu* reportMenu_ = nullptr;
    QString menuHint_;

    std::vector<std::int32_t> LetterCounts;
    std::int32_t TotalLetters = 0;
    std::int16_t ScaleIndex = 0;
    std::optional<ReferenceTable> markers_;

    QPushButton* cmdHelp;
    QPushButton* cmdEsci;
    QGroupBox* fraScala;
    QButtonGroup* optGroup;
    std::array<QRadioButton*, 8> opt;
    std::array<PictureArea*, 26> picLett;
    std::array<QLabel*, 26> lblLett;
    QPushButton* cmdBrowse;
    QListWidget* lstFreq;
    QLabel* Label1;
    QSvgWidget* Image2;
    QSvgWidget* Image1;
};

} // namespace tallivo
