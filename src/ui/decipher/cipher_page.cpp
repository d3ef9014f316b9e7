#include "cipher_page.h"

namespace tallivo {

void CipherPage::SetPeriods(const std::shared_ptr<const PeriodFigures>&) {}

} // namespace tallivo
