#pragma once

#include "substitution_key.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tallivo {

// What each byte of a ciphertext becomes under a key: only a..z and A..Z ever change, and a
// letter keeps its case.
using ByteTable = std::array<unsigned char, 256>;

// Undoes a shift of every letter by shift places (0..25): with 3, "d" becomes "a".
ByteTable ShiftTable(int shift);

// Turns every letter x into (key - x) mod 26, keeping its case: the Beaufort cipher's table,
// which undoes itself.
ByteTable ReflectTable(int key);

// Undoes a substitution; a cipher letter with no plaintext letter becomes unassigned.
ByteTable SubstitutionTable(const SubstitutionKey& key, unsigned char unassigned);

// Writes in mapped through table to out (resized to in's size).
void MapBytes(std::string_view in, const ByteTable& table, std::string& out);

// Undoes a periodic shift: the n-th letter of in (counting letters only) is shifted back by
// shifts[(firstColumn + n) % shifts.size()]; every other byte stays. shifts must not be empty.
// Returns the column of the letter that would follow, so that a text can go piece by piece.
std::size_t ApplyShifts(std::string_view in, const std::vector<int>& shifts, std::string& out,
                        std::size_t firstColumn = 0);

// Maps a text through a table per column, as ApplyShifts does with shifts: the n-th letter of
// in goes through tables[(firstColumn + n) % tables.size()]; a table must map letters to
// letters and leave every other byte. tables must not be empty. Returns the next column.
std::size_t ApplyTables(std::string_view in, const std::vector<ByteTable>& tables, std::string& out,
                        std::size_t firstColumn = 0);

// The counts of the plaintext, from the ciphertext's counts (index 0 = a), without reading it
// again: under a shift, under a substitution (unassigned letters are not counted), and under
// a periodic shift from the counts of its columns.
std::vector<std::int32_t> ShiftedCounts(const std::vector<std::int32_t>& counts, int shift);
std::vector<std::int32_t> SubstitutedCounts(const std::vector<std::int32_t>& counts,
                                            const SubstitutionKey& key);
std::vector<std::int32_t> ShiftedColumnCounts(const std::vector<std::vector<std::int32_t>>& columns,
                                              const std::vector<int>& shifts);

// The counts of the plaintext under a table (letters to letters), and under a table per column.
std::vector<std::int32_t> TabledCounts(const std::vector<std::int32_t>& counts,
                                       const ByteTable& table);
std::vector<std::int32_t> TabledColumnCounts(const std::vector<std::vector<std::int32_t>>& columns,
                                             const std::vector<ByteTable>& tables);

} // namespace tallivo
