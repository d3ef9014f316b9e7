#pragma once

// What was analysed, and who shows it:
//   A command (Sfoglia in FMain, a paste or a drop in TextIntake) gives a TextSource to
//   FMain::Analyse; the SourceCounter counts it on a worker thread and, in the same pass, keeps
//   its first 16 MiB and their n-grams (AnalysisBuilder). A count that succeeds becomes the
//   model's result; the model tells everyone that shows it: FMain fills its list and bars, the
//   report's menu enables its items, the statistics window and the workbench follow. The
//   reference chosen in the menu and the scale chosen in FMain live here too, so that a chart
//   or a window opened later shows the same.

#include "analysis.h"
#include "reference_frequencies.h"

#include <QObject>
#include <QString>

#include <optional>

namespace tallivo {

// One analysis: what was read and what was found in it.
struct AnalysisResult {
    QString name;          // as messages name it: a file's path, or "(testo incollato)"
    bool fromText = false; // pasted or dropped rather than read from a file
    Analysis analysis;
};

// What the bars are compared with: nothing, a language or the letters of a chosen text.
struct Reference {
    enum class Kind { None, Italian, English, Text };
    Kind kind = Kind::None;
    QString name; // "italiano", "inglese" or the reference text's file name; empty for none
    std::optional<ReferenceTable> table;

    // Returns the reference of a language.
    static Reference Of(Kind language);
};

// Owns the last analysis, the reference and the scale for the whole run, and signals each
// change with the new value.
class AnalysisModel : public QObject {
    Q_OBJECT

public:
    explicit AnalysisModel(QObject* parent = nullptr);

    // The last analysis that succeeded; none before the first.
    const std::optional<AnalysisResult>& result() const { return result_; }
    // Returns whether the last analysis found letters to report on.
    bool HasReport() const { return result_ && result_->analysis.HasLetters(); }
    const Reference& reference() const { return reference_; }
    int scaleIndex() const { return scaleIndex_; }

    void SetResult(AnalysisResult result);
    void SetReference(Reference reference);
    void SetScaleIndex(int index);

signals:
    void resultChanged(const tallivo::AnalysisResult& result);
    void referenceChanged(const tallivo::Reference& reference);
    void scaleChanged(int index);

private:
    std::optional<AnalysisResult> result_;
    Reference reference_;
    int scaleIndex_ = 0;
};

} // namespace tallivo
