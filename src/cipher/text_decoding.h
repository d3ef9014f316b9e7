#pragma once

#include <string>
#include <string_view>

namespace tallivo {

// Returns bytes read as Windows-1252 text, in UTF-16; the five bytes that code page leaves
// undefined become U+FFFD.
std::u16string DecodeWindows1252(std::string_view bytes);

// Returns how many bytes at the end of bytes begin a UTF-8 character that is cut off there
// (0 to 3): the part a piece of a longer text must leave to the next piece.
std::size_t IncompleteUtf8Tail(std::string_view bytes);

} // namespace tallivo
