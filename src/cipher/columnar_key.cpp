#include "columnar_key.h"

#include "cipher_text.h"
#include "key_text.h"
#include "letter_layout.h"

#include <algorithm>
#include <numeric>

namespace tallivo {

namespace {

// Returns the order of reading of columns whose ranks are given (each rank once).
std::vector<int> OrderOfRanks(const std::vector<int>& ranks) {
    std::vector<int> order(ranks.size());
    for (std::size_t column = 0; column < ranks.size(); ++column) {
        order[std::size_t(ranks[column])] = int(column);
    }
    return order;
}

} // namespace

Parsed<ColumnarKey> ColumnarKey::Parse(std::string_view text) {
    const std::vector<std::string_view> fields = Fields(text);
    if (fields.empty()) {
        return KeyError::Empty;
    }
    const bool numbers = fields.front().front() >= '0' && fields.front().front() <= '9';
    std::vector<int> ranks;
    if (numbers) {
        for (const std::string_view field : fields) {
            const std::optional<int> rank = ReadNumber(field);
            if (!rank) {
                return KeyError::NotANumber;
            }
            ranks.push_back(*rank - 1);
        }
    } else {
        if (fields.size() > 1) {
            return KeyError::NotALetter;
        }
        const Parsed<std::vector<std::uint8_t>> letters =
            ReadKeyword(fields.front(), 1, std::size_t(-1));
        if (!letters.ok()) {
            return letters.error();
        }
        std::vector<int> columns(letters.key().size());
        std::iota(columns.begin(), columns.end(), 0);
        std::stable_sort(columns.begin(), columns.end(), [&letters](int a, int b) {
            return letters.key()[std::size_t(a)] < letters.key()[std::size_t(b)];
        });
        ranks.resize(columns.size());
        for (std::size_t rank = 0; rank < columns.size(); ++rank) {
            ranks[std::size_t(columns[rank])] = int(rank);
        }
    }
    if (ranks.size() < kShortest) {
        return KeyError::TooShort;
    }
    if (ranks.size() > kLongest) {
        return KeyError::TooLong;
    }
    std::vector<bool> seen(ranks.size(), false);
    for (const int rank : ranks) {
        if (rank < 0 || rank >= int(ranks.size()) || seen[std::size_t(rank)]) {
            return KeyError::NotAPermutation;
        }
        seen[std::size_t(rank)] = true;
    }
    return ColumnarKey(OrderOfRanks(ranks));
}

ColumnarKey ColumnarKey::Random(std::size_t columns, std::mt19937_64& random) {
    std::vector<int> order(columns);
    std::iota(order.begin(), order.end(), 0);
    for (std::size_t i = columns; i-- > 1;) {
        std::swap(order[i], order[std::uniform_int_distribution<std::size_t>(0, i)(random)]);
    }
    return ColumnarKey(std::move(order));
}

std::string ColumnarKey::Text() const {
    std::vector<int> ranks(order_.size());
    for (std::size_t k = 0; k < order_.size(); ++k) {
        ranks[std::size_t(order_[k])] = int(k);
    }
    std::string text;
    for (const int rank : ranks) {
        if (!text.empty()) {
            text += ' ';
        }
        text += std::to_string(rank + 1);
    }
    return text;
}

std::vector<std::size_t> ColumnarKey::ColumnStarts(std::size_t size) const {
    const std::size_t n = order_.size();
    const std::size_t rows = size / n;
    const std::size_t longColumns = size % n;
    std::vector<std::size_t> starts(n);
    std::size_t at = 0;
    for (const int column : order_) {
        starts[std::size_t(column)] = at;
        at += rows + (std::size_t(column) < longColumns ? 1 : 0);
    }
    return starts;
}

std::vector<std::span<const std::uint8_t>>
ColumnarKey::Columns(std::span<const std::uint8_t> cipher) const {
    const std::vector<std::size_t> starts = ColumnStarts(cipher.size());
    const std::size_t n = order_.size();
    std::vector<std::span<const std::uint8_t>> columns;
    for (std::size_t column = 0; column < n; ++column) {
        const std::size_t length = cipher.size() / n + (column < cipher.size() % n ? 1 : 0);
        columns.push_back(cipher.subspan(starts[column], length));
    }
    return columns;
}

std::vector<std::uint8_t> ColumnarKey::EncryptLetters(std::span<const std::uint8_t> plain) const {
    std::vector<std::uint8_t> cipher;
    EncryptLetters(plain, cipher);
    return cipher;
}

std::vector<std::uint8_t> ColumnarKey::DecryptLetters(std::span<const std::uint8_t> cipher) const {
    std::vector<std::uint8_t> plain;
    DecryptLetters(cipher, plain);
    return plain;
}

void ColumnarKey::EncryptLetters(std::span<const std::uint8_t> plain,
                                 std::vector<std::uint8_t>& out) const {
    out.resize(plain.size());
    const std::vector<std::size_t> starts = ColumnStarts(plain.size());
    std::vector<std::uint8_t*> columns;
    for (const std::size_t start : starts) {
        columns.push_back(out.data() + start);
    }
    // Row by row, each column written in its own run.
    const std::size_t n = order_.size();
    const std::size_t rows = plain.size() / n;
    const std::uint8_t* from = plain.data();
    for (std::size_t row = 0; row < rows; ++row, from += n) {
        for (std::size_t column = 0; column < n; ++column) {
            columns[column][row] = from[column];
        }
    }
    for (std::size_t column = 0; column < plain.size() % n; ++column) {
        columns[column][rows] = from[column];
    }
}

void ColumnarKey::DecryptLetters(std::span<const std::uint8_t> cipher,
                                 std::vector<std::uint8_t>& out) const {
    out.resize(cipher.size());
    const std::vector<std::size_t> starts = ColumnStarts(cipher.size());
    std::vector<const std::uint8_t*> columns;
    for (const std::size_t start : starts) {
        columns.push_back(cipher.data() + start);
    }
    // Row by row, each column read from its own run.
    const std::size_t n = order_.size();
    const std::size_t rows = cipher.size() / n;
    std::uint8_t* to = out.data();
    for (std::size_t row = 0; row < rows; ++row, to += n) {
        for (std::size_t column = 0; column < n; ++column) {
            to[column] = columns[column][row];
        }
    }
    for (std::size_t column = 0; column < cipher.size() % n; ++column) {
        to[column] = columns[column][rows];
    }
}

void ColumnarKey::Encrypt(std::string_view in, std::string& out) const {
    PutLetters(in, EncryptLetters(TextLetters(in)), out);
}

void ColumnarKey::Decrypt(std::string_view in, std::string& out) const {
    PutLetters(in, DecryptLetters(TextLetters(in)), out);
}

} // namespace tallivo
