#include "language_model.h"

#include "language_data.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace tallivo {

namespace {

constexpr std::size_t kRankedShown = 50;

std::string_view NextLine(std::string_view& text) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    return line;
}

std::uint64_t ParseNumber(std::string_view digits) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size()) {
        throw std::runtime_error("language data: not a number");
    }
    return value;
}

// The value after the tab of a line "name\tvalue".
std::string_view Field(std::string_view line, std::string_view name) {
    if (line.size() <= name.size() || line.substr(0, name.size()) != name ||
        line[name.size()] != '\t') {
        throw std::runtime_error("language data: a header line is missing");
    }
    return line.substr(name.size() + 1);
}

// Reads LEB128 numbers and little-endian words from the n-gram data.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes)
        : bytes_(bytes) {}

    std::uint32_t Word32() {
        Need(4);
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value |= std::uint32_t(static_cast<unsigned char>(bytes_[at_++])) << (8 * i);
        }
        return value;
    }

    std::uint64_t Leb128() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            Need(1);
            const auto byte = static_cast<unsigned char>(bytes_[at_++]);
            value |= std::uint64_t(byte & 0x7FU) << shift;
            if ((byte & 0x80U) == 0) {
                return value;
            }
        }
        throw std::runtime_error("language data: a number runs on");
    }

    std::string_view Take(std::size_t size) {
        Need(size);
        const std::string_view taken = bytes_.substr(at_, size);
        at_ += size;
        return taken;
    }

    bool AtEnd() const { return at_ == bytes_.size(); }

private:
    void Need(std::size_t size) const {
        if (bytes_.size() - at_ < size) {
            throw std::runtime_error("language data: the n-grams end early");
        }
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
};

std::string GramText(std::size_t index, int n) {
    std::string text(std::size_t(n), 'a');
    for (int i = n - 1; i >= 0; --i) {
        text[std::size_t(i)] = char('a' + index % 26);
        index /= 26;
    }
    return text;
}

// The entries with a count, commonest first, ties alphabetically, up to limit.
std::vector<LanguageModel::Ranked> RankCounts(const std::vector<std::uint32_t>& counts, int n,
                                              std::uint64_t total, std::size_t limit) {
    std::vector<std::size_t> order(counts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&counts](std::size_t a, std::size_t b) { return counts[a] > counts[b]; });
    std::vector<LanguageModel::Ranked> ranked;
    for (const std::size_t index : order) {
        if (ranked.size() == limit || counts[index] == 0) {
            break;
        }
        ranked.push_back({GramText(index, n), counts[index], 100.0 * counts[index] / total});
    }
    return ranked;
}

} // namespace

const LanguageModel& LanguageModel::Get(Language language) {
    if (language == Language::English) {
        static const LanguageModel english(language_data::EnglishText(),
                                           language_data::EnglishNgrams());
        return english;
    }
    static const LanguageModel italian(language_data::ItalianText(),
                                       language_data::ItalianNgrams());
    return italian;
}

LanguageModel::LanguageModel(std::string_view text, std::string_view ngrams) {
    ReadText(text);
    ReadNgrams(ngrams);
    Rank();
}

void LanguageModel::ReadText(std::string_view text) {
    NextLine(text); // the comment that says where the file comes from
    source_ = std::string(Field(NextLine(text), "source"));
    wordTotal_ = ParseNumber(Field(NextLine(text), "words"));
    std::string_view counts = Field(NextLine(text), "letters");
    std::array<std::uint64_t, 26> letterCounts{};
    std::uint64_t letterTotal = 0;
    for (std::uint64_t& count : letterCounts) {
        const std::size_t end = std::min(counts.find(' '), counts.size());
        count = ParseNumber(counts.substr(0, end));
        letterTotal += count;
        counts.remove_prefix(std::min(end + 1, counts.size()));
    }
    if (letterTotal == 0 || !counts.empty()) {
        throw std::runtime_error("language data: not 26 letter counts");
    }
    for (std::size_t i = 0; i < 26; ++i) {
        letters_[i] = 100.0 * double(letterCounts[i]) / double(letterTotal);
    }
    while (!text.empty()) {
        const std::string_view line = NextLine(text);
        const std::size_t tab = line.find('\t');
        if (tab == 0 || tab == std::string_view::npos ||
            !std::all_of(line.begin(), line.begin() + std::ptrdiff_t(tab),
                         [](char c) { return c >= 'a' && c <= 'z'; })) {
            throw std::runtime_error("language data: a word line is not a word and a count");
        }
        words_.push_back(
            {std::string(line.substr(0, tab)), std::uint32_t(ParseNumber(line.substr(tab + 1)))});
    }
}

void LanguageModel::ReadNgrams(std::string_view ngrams) {
    ByteReader reader(ngrams);
    if (reader.Take(5) != std::string_view("TLNG\x01", 5)) {
        throw std::runtime_error("language data: not n-grams of version 1");
    }
    bigramCounts_.assign(26 * 26, 0);
    trigramCounts_.assign(26 * 26 * 26, 0);
    std::vector<std::uint32_t> quadgramCounts(26 * 26 * 26 * 26, 0);
    for (int n = 2; n <= 4; ++n) {
        std::vector<std::uint32_t>& counts =
            n == 2 ? bigramCounts_ : (n == 3 ? trigramCounts_ : quadgramCounts);
        const std::uint32_t total = reader.Word32();
        const std::uint32_t entries = reader.Word32();
        std::uint64_t index = std::uint64_t(-1);
        std::uint64_t sum = 0;
        for (std::uint32_t i = 0; i < entries; ++i) {
            index += reader.Leb128();
            const std::uint64_t count = reader.Leb128();
            if (index >= counts.size() || count == 0 || count > total) {
                throw std::runtime_error("language data: an n-gram out of range");
            }
            counts[index] = std::uint32_t(count);
            sum += count;
        }
        if (total == 0 || sum != total) {
            throw std::runtime_error("language data: the n-gram counts do not add up");
        }
        ngramTotals_[std::size_t(n - 2)] = total;
        floors_[std::size_t(n - 2)] = float(std::log10(kFloorCount / total));
        std::vector<float>& logs = n == 2 ? bigrams_ : (n == 3 ? trigrams_ : quadgrams_);
        logs.resize(counts.size());
        for (std::size_t i = 0; i < counts.size(); ++i) {
            logs[i] = counts[i] == 0 ? floors_[std::size_t(n - 2)]
                                     : float(std::log10(double(counts[i]) / total));
        }
    }
    if (!reader.AtEnd()) {
        throw std::runtime_error("language data: bytes after the quadgrams");
    }
}

void LanguageModel::Rank() {
    commonestBigrams_ = RankCounts(bigramCounts_, 2, ngramTotals_[0], kRankedShown);
    commonestTrigrams_ = RankCounts(trigramCounts_, 3, ngramTotals_[1], kRankedShown);
    for (std::size_t letter = 0; letter < 26; ++letter) {
        const std::uint32_t count = bigramCounts_[letter * 27];
        doubled_.push_back(
            {std::string(2, char('a' + letter)), count, 100.0 * count / double(ngramTotals_[0])});
    }
    std::stable_sort(doubled_.begin(), doubled_.end(),
                     [](const Ranked& a, const Ranked& b) { return a.count > b.count; });
    for (const Word& word : words_) {
        if (word.text.size() <= shortWords_.size()) {
            shortWords_[word.text.size() - 1].push_back(
                {word.text, word.count, 100.0 * word.count / double(wordTotal_)});
        }
    }
}

double LanguageModel::QuadgramScore(std::span<const std::uint8_t> letters) const {
    if (letters.size() < 4) {
        return 0.0;
    }
    std::size_t index = (std::size_t(letters[0]) * 26 + letters[1]) * 26 + letters[2];
    double score = 0.0;
    for (std::size_t i = 3; i < letters.size(); ++i) {
        index = (index % (26 * 26 * 26)) * 26 + letters[i];
        score += quadgrams_[index];
    }
    return score;
}

} // namespace tallivo
