#include "analysis_error.h"

namespace tallivo {

const char* AnalysisErrorName(AnalysisError kind) noexcept {
    switch (kind) {
    case AnalysisError::FileNotFound:
        return "file not found";
    case AnalysisError::NameTooLong:
        return "name too long";
    case AnalysisError::AccessDenied:
        return "access denied";
    case AnalysisError::NotRegularFile:
        return "not a regular file";
    case AnalysisError::ReadError:
        return "read error";
    case AnalysisError::TooManyLetters:
        return "too many letters";
    case AnalysisError::ZeroTotal:
        return "total of zero";
    case AnalysisError::NoDigit:
        return "no digit";
    case AnalysisError::OutOfRange:
        return "out of range";
    case AnalysisError::Cancelled:
        return "cancelled";
    case AnalysisError::NoText:
        return "no text offered";
    case AnalysisError::NoAnswer:
        return "no answer";
    }
    return "unknown error";
}

AnalysisFailure::AnalysisFailure(AnalysisError kind, const std::string& detail)
    : std::runtime_error(std::string(AnalysisErrorName(kind)) + ": " + detail)
    , kind_(kind) {}

} // namespace tallivo
