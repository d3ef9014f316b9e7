#pragma once

#include "autokey_key.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stop_token>

namespace tallivo {

class LanguageModel;

// The autokey search as the workbench's page runs it on its worker thread, kept apart from the
// page so that the solvers' progress callback and the page's progress row need not meet in one
// file. Returns the primer found, or nothing when stopped.
std::optional<AutokeyKey> FindAutokeyPrimer(std::span<const std::uint8_t> letters,
                                            const LanguageModel& language, std::stop_token stop,
                                            const std::function<void(double)>& progress);

} // namespace tallivo
