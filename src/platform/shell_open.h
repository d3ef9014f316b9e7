#pragma once

#include <QString>

namespace tallivo {

// Opens address with the user's default handler; the outcome is not examined.
void ShellOpen(const QString& address);

} // namespace tallivo
