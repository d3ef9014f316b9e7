#pragma once

#include <QString>

#include <stop_token>
#include <string_view>

namespace tallivo {

class LetterMapping;

// How the workbench reads a text's bytes.
struct TextReading {
    bool utf8 = true;             // UTF-8, or else Windows-1252
    unsigned char unassigned = 1; // the byte a mapping writes for a letter left open
};

// Returns whether the workbench reads bytes as UTF-8: they are valid UTF-8, leaving aside a
// character cut off at their end when cut says that the text went on past them.
bool ReadsAsUtf8(std::string_view bytes, bool cut);

// Returns the plaintext mapping makes of bytes, read as reading says, with "·" for a letter
// left open; built a piece at a time, so that no second full copy of the bytes is held. A
// character cut off at the end of the bytes is left out. Empty once stop is requested.
QString PlainTextOf(std::string_view bytes, const LetterMapping& mapping, TextReading reading,
                    std::stop_token stop = {});

} // namespace tallivo
