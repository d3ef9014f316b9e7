#pragma once

#include "analysis_error.h"
#include "input_file.h"
#include "letter_counter.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace tallivo {

// What an analysis reads: a file by name, or a text pasted or dropped into the window (kept in
// memory as bytes, so it is counted as a file holding those bytes would be).
class TextSource {
public:
    enum class Kind { File, Pasted, Dropped, Sample };

    // The file fileName, exactly as picked (not trimmed).
    static TextSource File(const QString& fileName);
    // The file whose name is these bytes, exactly as the system was given them; they need not
    // be valid in any encoding.
    static TextSource FileNamed(const QByteArray& nameBytes);
    // A text given as its bytes (UTF-8 as a rule), pasted or dropped.
    static TextSource Text(Kind kind, const QByteArray& bytes);
    // A text that another program sends as it is read, pasted: only the part in hand is held.
    static TextSource Stream(Kind kind, TextStream stream);
    // One of the sample texts that come with the program, by its name.
    static TextSource Sample(const QString& name, const QByteArray& bytes);

    Kind kind() const { return kind_; }
    bool IsText() const { return kind_ != Kind::File; }

    // Returns the name a message gives it: the file's path as best it can be shown, or
    // "(testo incollato)", "(testo trascinato)", "(esempio «cesare»)".
    QString DisplayName() const;
    // Returns the file's own name without its folder, or the display name of a text.
    QString ShortName() const;

    // Returns the message for a source without a letter a to z.
    QString NoLettersMessage() const;

    // Counts its letters into fresh counts, adding to total, and hands its first bytes to
    // prefix in the same pass; returns the stamp of the file read (an empty one for a text).
    // Throws AnalysisFailure.
    FileStamp CountLetters(std::vector<std::int32_t>& counts, std::int32_t& total,
                           const ReadObserver& observer, const PrefixSink& prefix = {}) const;

private:
    TextSource(Kind kind, QByteArray bytes);

    Kind kind_;
    QByteArray bytes_;  // the file's name, or the text
    QString sample_;    // a sample's name
    TextStream stream_; // a text that comes as it is read, in place of bytes_
};

// Returns whether a name picked in the Open dialog is empty or holds only spaces (tabs are
// text): how a cancelled dialog shows.
bool IsCancelledName(const QString& name);

// Returns the Italian message for a failure to read source.
QString FailureMessage(AnalysisError kind, const TextSource& source);

} // namespace tallivo
