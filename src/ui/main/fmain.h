#pragma once

// The road of one analysis through the program:
//   cmdBrowse_Click (FMain) makes a VGauge at the selected scale and asks the OpenFileDialog
//   for a name; AnalyseFile shows the hourglass (WaitCursor) while CountLetters (analysis)
//   reads the file once, in blocks, into fresh counters. Only a count that succeeded replaces
//   LetterCounts and TotalLetters; ShowReport then fills lstFreq with FrequencyLine and
//   TotalLine and has the gauge paint each PictureArea picLett up to BarHeight. An error
//   becomes one Italian sentence through the MessageService and changes nothing else.
//   opt_Click redraws the bars from the stored counts with another gauge maximum (Rescale).

#include "text_source.h"
#include "text_statistics.h"

#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
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
    explicit FMain(const PlatformServices& services, QWidget* parent = nullptr);
    ~FMain() override;

    // The state of the last analysis: no counts before the first one.
    const std::vector<std::int32_t>& letterCounts() const { return LetterCounts; }
    std::int32_t totalLetters() const { return TotalLetters; }
    std::int16_t scaleIndex() const { return ScaleIndex; }

    // Returns the gauge maximum of scale option k: 100 / (k + 1) in integer arithmetic.
    static std::int16_t GaugeMaxFor(int k);

    // Analyses fileName as if it had been picked in the Open dialog: the program's start with a
    // file, from the command line or a file manager's "Open with".
    void AnalyseFileAtStart(const QString& fileName);

    // Analyses a pasted or dropped text, given as UTF-8, as if it were a file holding it.
    void AnalyseText(const QByteArray& utf8);

    // What the last analysis read; empty before the first one.
    const std::optional<TextSource>& lastSource() const { return lastSource_; }

    // Chooses the reference whose frequencies each bar marks, or none; redraws the bars.
    void SetReference(std::optional<NamedReference> reference);
    const std::optional<NamedReference>& reference() const { return reference_; }

    // Returns the lines of the report list.
    QStringList ReportLines() const;
    // Puts the report list's lines on the clipboard.
    void CopyReport() const;

    // Returns the 26 pictures with their letters (and markers) as the screen shows them.
    QPixmap ChartImage();

    // The report list and the 26 pictures: where the report's context menu opens.
    QList<QWidget*> ReportViews() const;

signals:
    // The report list and bars show a new analysis.
    void reportChanged();

public slots:
    void cmdBrowse_Click();
    void cmdEsci_Click();
    void cmdHelp_Click();
    void opt_Click(int index);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateControls();
    void Form_Load();
    // Makes a gauge with the range 0 to gaugeMax, set up on the first letter's picture.
    VGauge PreparedGauge(std::int16_t gaugeMax);
    // The analysis command: a gauge at the selected scale, a file name, the analysis.
    void RunAnalysisCommand(const std::function<QString()>& chooseFile);
    // The same for any source; no source (a cancel) changes nothing.
    void RunAnalysis(const std::function<std::optional<TextSource>()>& chooseSource);
    // Counts source and shows the report; on failure says why and changes nothing.
    void AnalyseSource(const TextSource& source, VGauge& gauge, std::int16_t gaugeMax);
    void ShowReport(VGauge& gauge, std::int16_t gaugeMax);
    void Rescale(std::int16_t gaugeMax);
    // Paints a letter's bar, and the reference's marker where one is chosen.
    void DrawBar(VGauge& gauge, std::int16_t gaugeMax, int letter, float percent);
    // Each bar's tooltip and accessible description: its count, percentage and expected value.
    void UpdateBarHints();
    void ShowError(const QString& text);
    void KeepTabStopOnCheckedOption();

    const PlatformServices& services_;
    bool centred_ = false;
    bool busy_ = false;

    std::vector<std::int32_t> LetterCounts;
    std::int32_t TotalLetters = 0;
    std::int16_t ScaleIndex = 0;
    std::optional<TextSource> lastSource_;
    std::optional<NamedReference> reference_;

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
