#include "selection_reader.h"

#include "analysis_error.h"

#include <array>

namespace tallivo {

namespace {

constexpr std::array kTargets{SelectionTarget::Utf8, SelectionTarget::Utf8Mime,
                              SelectionTarget::Latin1};

} // namespace

SelectionReader::SelectionReader(SelectionLink& link)
    : SelectionReader(link, Timing{}) {}

SelectionReader::SelectionReader(SelectionLink& link, Timing timing)
    : link_(link)
    , timing_(timing) {}

void SelectionReader::AskToGoOn(const ReadObserver& observer) const {
    if (observer && !observer(handed_)) {
        throw AnalysisFailure(AnalysisError::Cancelled, "selection transfer stopped");
    }
}

std::optional<SelectionEvent> SelectionReader::WaitFor(Step step, const ReadObserver& observer) {
    // The time is counted in the slices waited, so that an owner that never answers costs one
    // toolkit timeout however often the reader asks whether to go on.
    for (int waited = 0; waited < timing_.answerMs; waited += timing_.sliceMs) {
        const std::optional<SelectionEvent> event = link_.Wait(timing_.sliceMs);
        const bool awaited = step == Step::Part ? event == SelectionEvent::NewValue
                                                : event == SelectionEvent::Converted ||
                                                      event == SelectionEvent::Refused;
        if (awaited || event == SelectionEvent::Lost) {
            return event;
        }
        AskToGoOn(observer);
    }
    return std::nullopt;
}

void SelectionReader::HandOn(std::string_view piece) {
    if (piece.empty()) {
        return;
    }
    if (latin1_) {
        converted_.clear();
        for (const char byte : piece) {
            const auto code = static_cast<unsigned char>(byte);
            if (code < 0x80) {
                converted_.push_back(byte);
            } else {
                converted_.push_back(static_cast<char>(0xC0 | (code >> 6)));
                converted_.push_back(static_cast<char>(0x80 | (code & 0x3F)));
            }
        }
        piece = converted_;
    }
    (*sink_)(reinterpret_cast<const unsigned char*>(piece.data()), piece.size());
    handed_ += piece.size();
}

void SelectionReader::ReadParts(const ReadObserver& observer) {
    for (;;) {
        AskToGoOn(observer);
        if (WaitFor(Step::Part, observer) != SelectionEvent::NewValue) {
            throw AnalysisFailure(AnalysisError::ReadError, "the selection stopped coming");
        }
        const std::uint64_t before = handed_;
        const PropertyKind kind = link_.Take([this](std::string_view piece) { HandOn(piece); });
        if (kind != PropertyKind::Text) {
            throw AnalysisFailure(AnalysisError::ReadError, "a part of the selection is no text");
        }
        if (handed_ == before) {
            return; // the empty part ends the text
        }
    }
}

void SelectionReader::Read(const BlockSink& sink, const ReadObserver& observer) {
    sink_ = &sink;
    handed_ = 0;
    if (!link_.HasOwner()) {
        throw AnalysisFailure(AnalysisError::NoText, "the selection has no owner");
    }
    for (const SelectionTarget target : kTargets) {
        latin1_ = target == SelectionTarget::Latin1;
        link_.Request(target);
        const std::optional<SelectionEvent> answer = WaitFor(Step::Answer, observer);
        if (!answer || answer == SelectionEvent::Lost) {
            throw AnalysisFailure(AnalysisError::NoAnswer, "the selection's owner did not answer");
        }
        if (answer == SelectionEvent::Refused) {
            continue;
        }
        const PropertyKind kind = link_.Take([this](std::string_view piece) { HandOn(piece); });
        if (kind == PropertyKind::Incremental) {
            ReadParts(observer);
        } else if (kind != PropertyKind::Text) {
            continue; // an answer that is no text refuses this form
        }
        if (handed_ == 0) {
            throw AnalysisFailure(AnalysisError::NoText, "the selection's text is empty");
        }
        AskToGoOn(observer);
        return;
    }
    throw AnalysisFailure(AnalysisError::NoText, "the selection has no text");
}

} // namespace tallivo
