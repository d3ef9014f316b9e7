#pragma once

#include "analysis_error.h"
#include "input_file.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QWidget;

namespace tallivo {

class ReadProgress;

// What an analysis reads: a file by name, or a text pasted or dropped into the window (kept in
// memory as UTF-8 bytes, so it is counted as a file holding those bytes would be).
class TextSource {
public:
    // The file fileName, exactly as picked (not trimmed).
    static TextSource File(const QString& fileName);
    // A text given as its UTF-8 bytes.
    static TextSource Pasted(const QByteArray& text);

    bool IsPasted() const { return pasted_; }

    // Returns the name a message gives it: the file's path, or "(testo incollato)".
    QString DisplayName() const;

    // Counts its letters into fresh counts, adding to total. Throws AnalysisFailure.
    void CountLetters(std::vector<std::int32_t>& counts, std::int32_t& total,
                      const ReadObserver& observer) const;

    // Hands the whole text to sink in blocks. Throws AnalysisFailure.
    void Read(const BlockSink& sink, const ReadObserver& observer) const;

private:
    TextSource(bool pasted, QString fileName, QByteArray text);

    bool pasted_;
    QString fileName_;
    QByteArray text_;
};

// Returns whether a name picked in the Open dialog is empty or holds only spaces (tabs are
// text): how a cancelled dialog shows.
bool IsCancelledName(const QString& name);

// Runs read (one pass over a source called what) with the hourglass and, when it takes long,
// the progress window; returns the kind of failure, Cancelled when the user stopped it.
std::optional<AnalysisError> ReadWithProgress(ReadProgress& progress, QWidget* parent,
                                              const QString& what,
                                              const std::function<void(const ReadObserver&)>& read);

// Returns the Italian message for a failure to read source.
QString FailureMessage(AnalysisError kind, const TextSource& source);

} // namespace tallivo
