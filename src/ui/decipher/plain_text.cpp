#include "plain_text.h"

#include "cipher_text.h"
#include "letter_mapping.h"
#include "text_decoding.h"

namespace tallivo {

namespace {

constexpr std::size_t kPiece = std::size_t{1} << 20;
const QChar kUnassigned(0x00B7); // middle dot

} // namespace

bool ReadsAsUtf8(std::string_view bytes, bool cut) {
    if (cut) {
        bytes.remove_suffix(IncompleteUtf8Tail(bytes));
    }
    return IsValidUtf8(bytes);
}

QString PlainTextOf(std::string_view bytes, const LetterMapping& mapping, TextReading reading,
                    std::stop_token stop) {
    if (reading.utf8) {
        bytes.remove_suffix(IncompleteUtf8Tail(bytes));
    }
    QString plain;
    plain.reserve(qsizetype(bytes.size()));
    std::string piece;
    std::size_t letter = 0;
    for (std::size_t at = 0; at < bytes.size();) {
        if (stop.stop_requested()) {
            return {};
        }
        std::size_t end = std::min(bytes.size(), at + kPiece);
        if (reading.utf8 && end < bytes.size()) {
            end -= IncompleteUtf8Tail(bytes.substr(0, end)); // a piece ends on a character
        }
        letter = mapping.Map(bytes.substr(at, end - at), piece, letter);
        QString decoded;
        if (reading.utf8) {
            decoded = QString::fromUtf8(piece.data(), qsizetype(piece.size()));
        } else {
            const std::u16string wide = DecodeWindows1252(piece);
            decoded = QString::fromUtf16(wide.data(), qsizetype(wide.size()));
        }
        decoded.replace(QChar(reading.unassigned), kUnassigned);
        plain += decoded;
        at = end;
    }
    return plain;
}

} // namespace tallivo
