#include "rail_fence_key.h"

#include "key_text.h"
#include "letter_layout.h"

namespace tallivo {

Parsed<RailFenceKey> RailFenceKey::Parse(std::string_view text) {
    text = Trimmed(text);
    if (text.empty()) {
        return KeyError::Empty;
    }
    const std::optional<int> rails = ReadNumber(text);
    if (!rails) {
        return KeyError::NotANumber;
    }
    if (*rails < kFewest || *rails > kMost) {
        return KeyError::OutOfRange;
    }
    return RailFenceKey(*rails);
}

RailFenceKey RailFenceKey::Random(int fewest, int most, std::mt19937_64& random) {
    return RailFenceKey(std::uniform_int_distribution<int>(fewest, most)(random));
}

RailFenceKey::Places RailFenceKey::CipherPlaces(std::size_t size) const {
    const std::size_t rails = std::size_t(rails_);
    const std::size_t cycle = 2 * (rails - 1);
    // The rail of each place of a zigzag, and how many letters each rail holds.
    std::vector<std::size_t> railOf(cycle);
    for (std::size_t t = 0; t < cycle; ++t) {
        railOf[t] = t < rails ? t : cycle - t;
    }
    std::vector<std::size_t> held(rails, 0);
    const std::size_t whole = size / cycle;
    for (std::size_t t = 0; t < cycle; ++t) {
        held[railOf[t]] += whole + (t < size % cycle ? 1 : 0);
    }
    std::vector<std::size_t> railStart(rails, 0);
    for (std::size_t rail = 1; rail < rails; ++rail) {
        railStart[rail] = railStart[rail - 1] + held[rail - 1];
    }
    // The top and bottom rails take one letter a zigzag, the others two: on the way down
    // and on the way up.
    Places places{std::vector<std::size_t>(cycle), std::vector<std::size_t>(cycle)};
    for (std::size_t t = 0; t < cycle; ++t) {
        const std::size_t rail = railOf[t];
        const bool middle = rail != 0 && rail != rails - 1;
        places.step[t] = middle ? 2 : 1;
        places.first[t] = railStart[rail] + (middle && t >= rails ? 1 : 0);
    }
    return places;
}

std::vector<std::uint8_t> RailFenceKey::EncryptLetters(std::span<const std::uint8_t> plain) const {
    std::vector<std::uint8_t> cipher;
    EncryptLetters(plain, cipher);
    return cipher;
}

std::vector<std::uint8_t> RailFenceKey::DecryptLetters(std::span<const std::uint8_t> cipher) const {
    std::vector<std::uint8_t> plain;
    DecryptLetters(cipher, plain);
    return plain;
}

void RailFenceKey::EncryptLetters(std::span<const std::uint8_t> plain,
                                  std::vector<std::uint8_t>& out) const {
    out.resize(plain.size());
    const Places places = CipherPlaces(plain.size());
    const std::size_t cycle = places.first.size();
    // Zigzag by zigzag: each place's letters are a step apart on their rail.
    for (std::size_t n = 0, at = 0; at < plain.size(); ++n) {
        for (std::size_t t = 0; t < cycle && at < plain.size(); ++t, ++at) {
            out[places.first[t] + n * places.step[t]] = plain[at];
        }
    }
}

void RailFenceKey::DecryptLetters(std::span<const std::uint8_t> cipher,
                                  std::vector<std::uint8_t>& out) const {
    out.resize(cipher.size());
    const Places places = CipherPlaces(cipher.size());
    const std::size_t cycle = places.first.size();
    // Place by place of the zigzag: its letters are read in one run from their rail and
    // written a zigzag apart.
    for (std::size_t t = 0; t < cycle; ++t) {
        const std::uint8_t* from = cipher.data() + places.first[t];
        for (std::size_t at = t; at < cipher.size(); at += cycle) {
            out[at] = *from;
            from += places.step[t];
        }
    }
}

void RailFenceKey::Encrypt(std::string_view in, std::string& out) const {
    PutLetters(in, EncryptLetters(TextLetters(in)), out);
}

void RailFenceKey::Decrypt(std::string_view in, std::string& out) const {
    PutLetters(in, DecryptLetters(TextLetters(in)), out);
}

} // namespace tallivo
