#pragma once

#include <stdexcept>
#include <string>

namespace tallivo {

// What went wrong in an analysis; the window turns each kind into one sentence for the user.
enum class AnalysisError {
    FileNotFound,   // the path names nothing that can be opened
    NameTooLong,    // the path, or one of its names, is longer than the system allows
    AccessDenied,   // the file exists but may not be read
    NotRegularFile, // a directory, FIFO, socket or device
    ReadError,      // the system failed while reading
    TooManyLetters, // a counter would pass 2,147,483,647
    ZeroTotal,      // a percentage of a total of 0 (arithmetic error)
    NoDigit,        // a percentage that rounds to no digit at all with "#.##" (type error)
    OutOfRange,     // a value that does not fit its 16-bit result
    Cancelled,      // the user stopped a long read
    NoText,         // a text to come from another program: it has none to give
    NoAnswer,       // a text to come from another program: it never answered
};

// Returns a short English name of the error kind, for logs and test output.
const char* AnalysisErrorName(AnalysisError kind) noexcept;

// The exception the analysis core throws; kind() tells the cases apart.
class AnalysisFailure : public std::runtime_error {
public:
    AnalysisFailure(AnalysisError kind, const std::string& detail);

    AnalysisError kind() const noexcept { return kind_; }

private:
    AnalysisError kind_;
};

} // namespace tallivo
