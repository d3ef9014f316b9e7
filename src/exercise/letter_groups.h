#pragma once

#include <string>
#include <string_view>

namespace tallivo {

// Returns the letters a-z of text (either case) in capitals, in groups of five separated by a
// space, ten groups a line; every other byte is left out.
std::string GroupsOfFive(std::string_view text);

} // namespace tallivo
