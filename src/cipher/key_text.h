#pragma once

#include "key_error.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tallivo {

// Reading keys as the user types them, shared by every cipher's key.

// Returns text without the spaces, tabs and line ends around it.
std::string_view Trimmed(std::string_view text);

// Returns the decimal number text holds (digits only, at most six), or none.
std::optional<int> ReadNumber(std::string_view text);

// Returns the parts of text between commas, semicolons and blanks, empty parts left out.
std::vector<std::string_view> Fields(std::string_view text);

// Reads a keyword of shortest..longest letters (either case; blanks around it ignored) as
// letter indices, 0 = a.
Parsed<std::vector<std::uint8_t>> ReadKeyword(std::string_view text, std::size_t shortest,
                                              std::size_t longest);

} // namespace tallivo
