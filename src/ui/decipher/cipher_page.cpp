#include "cipher_page.h"

namespace tallivo {

std::shared_ptr<const PeriodFigures> PeriodFigures::Of(const std::vector<std::uint8_t>& letters) {
    // How many of the repeated trigrams the Kasiski examination shows.
    constexpr std::size_t kKasiskiRepeats = 15;
    auto analysis = std::make_shared<PeriodAnalysis>(kPeriodLimit);
    analysis->Update(letters);
    auto figures = std::make_shared<PeriodFigures>();
    figures->coincidences = analysis->Coincidences();
    figures->kasiski = analysis->Examination(letters, kKasiskiRepeats);
    figures->analysis = std::move(analysis);
    return figures;
}

void CipherPage::SetPeriods(const std::shared_ptr<const PeriodFigures>&) {}

} // namespace tallivo
