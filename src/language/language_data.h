#pragma once

#include <string_view>

// The data files of src/language/data, compiled into the program by embed_data.cmake.
namespace tallivo::language_data {

std::string_view ItalianText();
std::string_view ItalianNgrams();
std::string_view EnglishText();
std::string_view EnglishNgrams();

} // namespace tallivo::language_data
