#pragma once

// The road of one analysis through the program:
//   cmdBrowse_Click (FMain) asks the OpenFileDialog for a name and hands a TextSource to
//   Analyse, which gives it to the SourceCounter: the counter runs CountLetters (analysis) on
//   a worker thread, once, in blocks, into fresh counters, with the hourglass and, for a long
//   read, the progress window. Only a count that succeeded comes back: it replaces
//   LetterCounts and TotalLetters, and ShowReport fills lstFreq with FrequencyLine and
//   TotalLine and has a VGauge paint each PictureArea picLett up to BarHeight. A failure has
//   become one Italian sentence through the MessageService and changes nothing here.
//   opt_Click redraws the bars from the stored counts with another gauge maximum (Rescale).
//   What is built around the window (menus, references, the other windows) calls Analyse and
//   SetMarkers and listens to analysed(); the window knows nothing of it.

#include "input_file.h"
#include "reference_frequencies.h"
#include "source_counter.h"
#include "text_source.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSvgWidget;

namespace tallivo {

class PictureArea;
class VGauge;
struct PlatformServices;

// The main window and the program: the bars of the 26 letters, the scale options, the report
// list and the commands. It owns the state of the last analysis.
class FMain : public QWidget {
    Q_OBJECT

public:
    FMain(const PlatformServices& services, SourceCounter& counter, QWidget* parent = nullptr);
    ~FMain() override;

    // The state of the last analysis: no counts before the first one.
    const std::vector<std::int32_t>& letterCounts() const { return LetterCounts; }
    std::int32_t totalLetters() const { return TotalLetters; }
    std::int16_t scaleIndex() const { return ScaleIndex; }
    // Returns whether the window shows a report with letters in it.
    bool HasReport() const { return TotalLetters != 0 && !LetterCounts.empty(); }
    // What the last analysis read, and the stamp of the file as it was read then.
    const std::optional<TextSource>& lastSource() const { return lastSource_; }
    const FileStamp& lastStamp() const { return lastStamp_; }

    // Returns the gauge maximum of scale option k: 100 / (k + 1) in integer arithmetic.
    static std::int16_t GaugeMaxFor(int k);

    // Analyses source as if it had been picked in the Open dialog; ignored while a count runs.
    void Analyse(const TextSource& source);

    // Marks on each bar the percentage a reference expects of its letter, or no marks.
    void SetMarkers(const std::optional<ReferenceTable>& expected);

    // Returns the lines of the report list.
    QStringList ReportLines() const;

    // The report list and the 26 pictures.
    QList<QWidget*> ReportViews() const;

signals:
    // The report list and the bars show a new analysis.
    void analysed();

public slots:
    void cmdBrowse_Click();
    void cmdEsci_Click();
    void cmdHelp_Click();
    void opt_Click(int index);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void Form_Load();
    // Makes a gauge with the range 0 to gaugeMax, set up on the first letter's picture.
    VGauge PreparedGauge(std::int16_t gaugeMax);
    void ShowCounts(const TextSource& source, SourceCounter::Counts counts);
    void ShowReport();
    void Rescale(std::int16_t gaugeMax);
    // Paints a letter's bar, and its marker where one is set.
    void DrawBar(VGauge& gauge, std::int16_t gaugeMax, int letter, float percent);
    // Each bar's tooltip and accessible description: its count, percentage and expected value.
    void UpdateBarHints();
    void KeepTabStopOnCheckedOption();

    const PlatformServices& services_;
    SourceCounter& counter_;
    bool centred_ = false;

    std::vector<std::int32_t> LetterCounts;
    std::int32_t TotalLetters = 0;
    std::int16_t ScaleIndex = 0;
    std::optional<TextSource> lastSource_;
    FileStamp lastStamp_;
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
