#pragma once

#include "input_file.h"
#include "selection_link.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tallivo {

// Reads the text of a selection from its owner as it comes, whole or in parts, without ever
// holding more of it than one part: the text is asked for in UTF-8 and, where the owner has
// none, in Latin-1, which is handed on as UTF-8.
class SelectionReader {
public:
    struct Timing {
        // How long the owner may take over each step, as the toolkit allows it.
        int answerMs = 5000;
        // How often, while waiting, the reader asks whether to go on.
        int sliceMs = 50;
    };

    explicit SelectionReader(SelectionLink& link);
    SelectionReader(SelectionLink& link, Timing timing);

    // Hands the text to sink, in order, and asks observer after each part and while waiting
    // whether to go on. Throws AnalysisFailure: Cancelled when observer says stop; NoText when
    // the selection has no owner, or no text, or an empty one; NoAnswer when the owner does not
    // answer the request in time; ReadError when a text sent in parts stops coming or the
    // display goes.
    void Read(const BlockSink& sink, const ReadObserver& observer);

private:
    // What the reader waits for: the owner's answer to a request, or the next part of a text
    // sent in parts.
    enum class Step { Answer, Part };
    // Waits for step; returns it, Lost when the display went, nothing when it never came.
    std::optional<SelectionEvent> WaitFor(Step step, const ReadObserver& observer);
    // Throws Cancelled unless observer lets the transfer go on.
    void AskToGoOn(const ReadObserver& observer) const;
    // Hands a piece of text to sink, converted to UTF-8 where it is Latin-1.
    void HandOn(std::string_view piece);
    // Reads the parts of a text sent in parts, until the empty part that ends it.
    void ReadParts(const ReadObserver& observer);

    SelectionLink& link_;
    Timing timing_;
    const BlockSink* sink_ = nullptr;
    bool latin1_ = false;
    std::uint64_t handed_ = 0;
    std::string converted_;
};

} // namespace tallivo
