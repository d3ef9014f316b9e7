#include "analysis.h"

namespace tallivo {

AnalysisBuilder::AnalysisBuilder()
    : text_(std::make_shared<CipherText>())
    , ngrams_(std::make_shared<NGramCounter>()) {}

PrefixSink AnalysisBuilder::Prefix() {
    // One byte past the limit, so that the text knows whether it goes on.
    return PrefixSink{[this](const unsigned char* data, std::size_t size) { Add(data, size); },
                      CipherText::kWorkLimit + 1};
}

void AnalysisBuilder::Add(const unsigned char* data, std::size_t size) {
    const std::size_t kept = std::size_t(std::min<std::uint64_t>(
        size, CipherText::kWorkLimit - std::min<std::uint64_t>(handed_, CipherText::kWorkLimit)));
    text_->Append(data, size);
    ngrams_->Add(data, kept);
    handed_ += size;
}

Analysis AnalysisBuilder::Finish(std::vector<std::int32_t> counts, std::int32_t total,
                                 FileStamp stamp) {
    Analysis analysis;
    analysis.counts = std::move(counts);
    analysis.total = total;
    analysis.stamp = stamp;
    analysis.text = std::move(text_);
    analysis.ngrams = std::move(ngrams_);
    return analysis;
}

} // namespace tallivo
