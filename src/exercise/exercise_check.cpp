#include "exercise_check.h"

#include "cipher_text.h"

namespace tallivo {

CheckResult CheckPlainText(std::string_view hidden, std::string_view student) {
    CheckResult result;
    for (std::size_t i = 0; i < hidden.size(); ++i) {
        const int letter = LetterIndex(static_cast<unsigned char>(hidden[i]));
        if (letter < 0) {
            continue;
        }
        ++result.total;
        if (i < student.size() && LetterIndex(static_cast<unsigned char>(student[i])) == letter) {
            ++result.right;
        }
    }
    return result;
}

} // namespace tallivo
