#pragma once

#include <string_view>

namespace tallivo {

// How the student's plaintext compares with the exercise's: how many of its letters are right.
struct CheckResult {
    int right = 0;
    int total = 0;

    // Whether every letter is right.
    bool Solved() const { return total > 0 && right == total; }
};

// Compares the student's plaintext with the hidden one, both as the workbench makes them of the
// same ciphertext: at each place where hidden has a letter a-z, either case counts as right;
// a letter the student's key leaves open, or a place the student's text does not reach, is
// wrong. Nothing else of hidden is told.
CheckResult CheckPlainText(std::string_view hidden, std::string_view student);

} // namespace tallivo
