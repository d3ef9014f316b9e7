// Measures how well and how fast the cipher core identifies and breaks the classical ciphers,
// on excerpts of Italian texts written for it (bench/data/ciphers, in no corpus) under random
// keys: the identification rate of each kind at 300 and 100 letters, the exact rate of the key
// searches, their time per text on one thread, the period finder on long keys and autokey, and
// a change of key on 16 MiB for each cipher.
//
//   tallivo_cipher_bench [--texts DIR] [--count N] [--seed S] [--only a,b,...]
// with sections identify, affine, railfence, columnar, autokey, playfair, period, keychange.

#include "affine_solver.h"
#include "autokey_solver.h"
#include "caesar_key.h"
#include "cipher_identification.h"
#include "cipher_text.h"
#include "columnar_solver.h"
#include "key_mapping.h"
#include "key_search.h"
#include "letter_layout.h"
#include "median_time.h"
#include "period_finder.h"
#include "periodic_key.h"
#include "playfair_solver.h"
#include "rail_fence_solver.h"
#include "substitution_key.h"
#include "text_statistics.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace tallivo;

namespace {

// The texts excerpts are drawn from.
class Texts {
public:
    explicit Texts(const std::filesystem::path& folder) {
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() == ".txt") {
                files.push_back(entry.path());
            }
        }
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            std::stringstream content;
            content << in.rdbuf();
            texts_.push_back(content.str());
        }
    }

    bool empty() const { return texts_.empty(); }

    // Returns a stretch of one text, from the start of a word, holding letters letters.
    std::string Excerpt(std::size_t letters, std::mt19937_64& random) const {
        for (;;) {
            const std::string& text = texts_[UniformBelow(random, texts_.size())];
            std::size_t at = UniformBelow(random, text.size());
            while (at > 0 && text[at - 1] != ' ' && text[at - 1] != '\n') {
                --at;
            }
            std::size_t count = 0;
            std::size_t end = at;
            while (end < text.size() && count < letters) {
                count += LetterIndex(static_cast<unsigned char>(text[end++])) >= 0 ? 1 : 0;
            }
            if (count == letters) {
                return text.substr(at, end - at);
            }
        }
    }

    // Returns all texts one after the other, again and again, to size bytes.
    std::string Repeated(std::size_t size) const {
        std::string all;
        while (all.size() < size) {
            for (const std::string& text : texts_) {
                all += text;
            }
        }
        all.resize(size);
        return all;
    }

private:
    std::vector<std::string> texts_;
};

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Percent(int right, int count) {
    return count > 0 ? 100.0 * right / count : 0.0;
}

const char* KindName(CipherKind kind) {
    switch (kind) {
    case CipherKind::TooShort:
        return "too short";
    case CipherKind::Transposition:
        return "transposition";
    case CipherKind::Caesar:
        return "Caesar";
    case CipherKind::Affine:
        return "affine";
    case CipherKind::Substitution:
        return "substitution";
    case CipherKind::VigenereFamily:
        return "Vigenere family";
    case CipherKind::AutokeyOrRunning:
        return "autokey/running key";
    case CipherKind::Playfair:
        return "Playfair";
    }
    return "?";
}

// Encrypts plain as a random cipher of kind and returns the ciphertext's letters.
std::vector<std::uint8_t> EncryptAs(CipherKind kind, const std::string& plain,
                                    std::mt19937_64& random) {
    std::string out;
    switch (kind) {
    case CipherKind::Transposition:
        if (UniformBelow(random, 2) == 0) {
            ColumnarKey::Random(2 + UniformBelow(random, 7), random).Encrypt(plain, out);
        } else {
            RailFenceKey::Random(2, 10, random).Encrypt(plain, out);
        }
        break;
    case CipherKind::Caesar:
        CaesarKey::Random(random).Encrypt(plain, out);
        break;
    case CipherKind::Affine: {
        AffineKey key = AffineKey::Random(random);
        while (key.a() == 1) {
            key = AffineKey::Random(random);
        }
        key.Encrypt(plain, out);
        break;
    }
    case CipherKind::Substitution:
        MapBytes(plain, SubstitutionTable(SubstitutionKey::Random(random), '?'), out);
        break;
    case CipherKind::VigenereFamily: {
        const auto sense = static_cast<PeriodicSense>(UniformBelow(random, 3));
        PeriodicKey::Random(sense, 3 + UniformBelow(random, 10), random).Encrypt(plain, out);
        break;
    }
    case CipherKind::AutokeyOrRunning:
        AutokeyKey::Random(1 + UniformBelow(random, 10), random).Encrypt(plain, out);
        break;
    case CipherKind::Playfair:
        out = PlayfairKey::Random(random).Encrypt(plain);
        break;
    case CipherKind::TooShort:
        out = plain;
        break;
    }
    return TextLetters(out);
}

void Identify(const Texts& texts, int count, std::mt19937_64& random) {
    const LanguageModel& italian = LanguageModel::Get(Language::Italian);
    const std::vector<CipherKind> kinds = {CipherKind::Transposition,  CipherKind::Caesar,
                                           CipherKind::Affine,         CipherKind::Substitution,
                                           CipherKind::VigenereFamily, CipherKind::AutokeyOrRunning,
                                           CipherKind::Playfair};
    for (const std::size_t letters : {std::size_t{300}, std::size_t{100}}) {
        std::printf("Identification at %zu letters (%d texts a kind; Vigenere family: keys of "
                    "3-12 letters in the three senses; autokey: primers of 1-10; transposition: "
                    "columnar of 2-8 columns or rail fence of 2-10 rails)\n",
                    letters, count);
        int allRight = 0;
        for (const CipherKind kind : kinds) {
            int right = 0;
            std::map<std::string, int> wrong;
            for (int i = 0; i < count; ++i) {
                const Verdict verdict = IdentifyCipher(
                    EncryptAs(kind, texts.Excerpt(letters, random), random), italian);
                if (verdict.kind == kind) {
                    ++right;
                } else {
                    ++wrong[KindName(verdict.kind)];
                }
            }
            allRight += right;
            std::printf("  %-20s %2d/%d  %5.1f %%", KindName(kind), right, count,
                        Percent(right, count));
            for (const auto& [name, n] : wrong) {
                std::printf("  (%d as %s)", n, name.c_str());
            }
            std::printf("\n");
        }
        std::printf("  all kinds            %5.1f %%\n",
                    Percent(allRight, count * int(kinds.size())));
    }
}

void BreakAffine(const Texts& texts, int count, std::mt19937_64& random) {
    const LanguageModel& italian = LanguageModel::Get(Language::Italian);
    int right = 0;
    for (int i = 0; i < count; ++i) {
        const AffineKey key = AffineKey::Random(random);
        const std::string plain = texts.Excerpt(100, random);
        std::string encrypted;
        key.Encrypt(plain, encrypted);
        right += RankAffineKeys(TextLetters(encrypted), italian).front().key == key ? 1 : 0;
    }
    std::printf("Affine at 100 letters, 312 keys ranked: exact %d/%d  %.1f %%\n", right, count,
                Percent(right, count));
}

void BreakRailFence(const Texts& texts, int count, std::mt19937_64& random) {
    const LanguageModel& italian = LanguageModel::Get(Language::Italian);
    int right = 0;
    for (int i = 0; i < count; ++i) {
        const RailFenceKey key = RailFenceKey::Random(2, 20, random);
        const std::string plain = texts.Excerpt(100, random);
        std::string encrypted;
        key.Encrypt(plain, encrypted);
        right += RankRailFences(TextLetters(encrypted), italian).front().key == key ? 1 : 0;
    }
    std::printf("Rail fence at 100 letters, 2-20 rails all tried: exact %d/%d  %.1f %%\n", right,
                count, Percent(right, count));
}

// The wall and processor time a search took.
struct SearchTime {
    double wall = 0.0;
    double processor = 0.0;
};

// Times a search, in wall time and in the processor time of this (single-threaded) program:
// on a machine shared with other work the wall time also counts the waits for a core.
template <class Work> SearchTime Timed(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t processorStart = std::clock();
    work();
    return {Seconds(start), double(std::clock() - processorStart) / CLOCKS_PER_SEC};
}

// Prints a search's exact rate and its time per text, median and longest.
void Report(const char* what, int right, int count, const std::vector<SearchTime>& times) {
    std::vector<double> wall;
    std::vector<double> processor;
    for (const SearchTime& time : times) {
        wall.push_back(time.wall);
        processor.push_back(time.processor);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(processor.begin(), processor.end());
    std::printf("%s: exact %d/%d  %.1f %%\n  time per text: median %.2f s, longest %.2f s "
                "(processor: median %.2f s, longest %.2f s)\n",
                what, right, count, Percent(right, count), wall[wall.size() / 2], wall.back(),
                processor[processor.size() / 2], processor.back());
}

void BreakColumnar(const Texts& texts, int count, std::mt19937_64& random) {
    const LanguageModel& italian = LanguageModel::Get(Language::Italian);
    int right = 0;
    std::vector<SearchTime> times;
    for (int i = 0; i < count; ++i) {
        const ColumnarKey key = ColumnarKey::Random(2 + UniformBelow(random, 7), random);
        const std::string plain = texts.Excerpt(300, random);
        std::string encrypted;
        key.Encrypt(plain, encrypted);
        ColumnarSearch search;
        search.seed = random();
        Found<ColumnarKey> found;
        times.push_back(
            Timed([&] { found = SolveColumnar(TextLetters(encrypted), italian, search, {}, {}); }));
        right += found.key == key ? 1 : 0;
        if (!(found.key == key)) {
            const QuadgramScorer scorer(italian);
            std::printf("  missed: key %s (plaintext scores %.1f), found %s (%.1f)\n",
                        key.Text().c_str(), scorer.Score(TextLetters(plain)),
                        found.key.Text().c_str(), found.score);
        }
    }
    Report("Columnar of 2-8 columns at 300 letters, 2-12 searched", right, count, times);
}

void BreakAutokey(const Texts& texts, int count, std::mt19937_64& random) {
    const LanguageModel& italian = LanguageModel::Get(Language::Italian);
    int right = 0;
    std::vector<SearchTime> times;
    for (int i = 0; i < count; ++i) {
        const AutokeyKey key = AutokeyKey::Random(1 + UniformBelow(random, 10), random);
        const std::string plain = texts.Excerpt(500, random);
        std::string encrypted;
        key.Encrypt(plain, encrypted);
        Found<AutokeyKey> found;
        times.push_back(Timed([&] {
            found = SolveAutokey(TextLetters(encrypted), italian, AutokeySearch{}, {}, {});
        }));
        right += found.key == key ? 1 : 0;
    }
    Report("Autokey with primers of 1-10 at 500 letters, 1-20 searched", right, count, times);
}

void BreakPlayfair(const Texts& texts, int count, std::mt19937_64& random) {
    const LanguageModel& italian = LanguageModel::Get(Language::Italian);
    int right = 0;
    std::vector<SearchTime> times;
    for (int i = 0; i < count; ++i) {
        const PlayfairKey key = PlayfairKey::Random(random);
        const std::vector<std::uint8_t> cipher =
            key.EncryptLetters(TextLetters(texts.Excerpt(600, random)));
        PlayfairSearch search;
        search.seed = random();
        Found<PlayfairKey> found;
        times.push_back(Timed([&] { found = SolvePlayfair(cipher, italian, search, {}, {}); }));
        // Squares that differ by turning rows or columns round encipher alike.
        right += found.key.DecryptLetters(cipher) == key.DecryptLetters(cipher) ? 1 : 0;
    }
    Report("Playfair at 600 letters", right, count, times);
}

void FindPeriods(const Texts& texts, int count, std::mt19937_64& random) {
    const LanguageModel& italian = LanguageModel::Get(Language::Italian);
    ReferenceTable reference{};
    std::copy(italian.Letters().begin(), italian.Letters().end(), reference.begin());
    const double language = ExpectedCoincidence(reference);
    const auto find = [&](const std::vector<std::uint8_t>& letters) {
        PeriodAnalysis analysis(kPeriodLimit);
        analysis.Update(letters);
        return FindPeriod(analysis.Coincidences(), analysis.Examination(letters, 0), letters.size(),
                          language);
    };
    std::printf("Period finder (%d texts a row): right (clear), no period stands out, wrong\n",
                count);
    for (const std::size_t letters : {std::size_t{300}, std::size_t{600}, std::size_t{1200}}) {
        for (const std::size_t length :
             {std::size_t{6}, std::size_t{21}, std::size_t{23}, std::size_t{25}, std::size_t{29}}) {
            int right = 0;
            int clear = 0;
            int none = 0;
            int wrong = 0;
            for (int i = 0; i < count; ++i) {
                const auto sense = static_cast<PeriodicSense>(UniformBelow(random, 3));
                std::string encrypted;
                PeriodicKey::Random(sense, length, random)
                    .Encrypt(texts.Excerpt(letters, random), encrypted);
                const PeriodFinding finding = find(TextLetters(encrypted));
                if (!finding.period) {
                    ++none;
                } else if (*finding.period == int(length)) {
                    ++right;
                    clear += finding.certainty == PeriodCertainty::Clear ? 1 : 0;
                } else {
                    ++wrong;
                }
            }
            std::printf("  key of %2zu letters at %4zu letters: %2d (%2d)  %2d  %2d\n", length,
                        letters, right, clear, none, wrong);
        }
        int none = 0;
        for (int i = 0; i < count; ++i) {
            std::string encrypted;
            AutokeyKey::Random(1 + UniformBelow(random, 20), random)
                .Encrypt(texts.Excerpt(letters, random), encrypted);
            none += find(TextLetters(encrypted)).period ? 0 : 1;
        }
        std::printf("  autokey, primers 1-20, at %4zu letters: no period stands out %d/%d\n",
                    letters, none, count);
    }
}

// Returns the median processor time in seconds of passes runs of work: on a machine shared
// with other work the wall time also counts the waits for a core.
double MedianProcessorSeconds(int passes, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < passes; ++i) {
        const std::clock_t start = std::clock();
        work();
        times.push_back(double(std::clock() - start) / CLOCKS_PER_SEC);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void ChangeKeys(const Texts& texts) {
    const std::string text = texts.Repeated(CipherText::kWorkLimit);
    // The page of a cipher that moves letters holds the text's letters, as read with the text,
    // and reuses its buffers from one key to the next.
    const std::vector<std::uint8_t> letters = TextLetters(text);
    std::vector<std::uint8_t> moved;
    std::string out;
    std::mt19937_64 random(7);
    const auto time = [&](const std::string& what, const std::function<void()>& work) {
        work();
        const double wall = MedianSeconds(5, work);
        const double processor = MedianProcessorSeconds(5, work);
        std::printf("  %-26s %6.1f ms (processor %5.1f ms)\n", what.c_str(), 1000.0 * wall,
                    1000.0 * processor);
    };
    std::printf("A change of key: the whole text deciphered again, 16 MiB, %zu letters (median "
                "of 5)\n",
                letters.size());
    time("Caesar", [&] { CaesarKey(7).Decrypt(text, out); });
    time("affine", [&] { AffineKey(5, 8).Decrypt(text, out); });
    const SubstitutionKey substitution = SubstitutionKey::Random(random);
    time("substitution", [&] { MapBytes(text, SubstitutionTable(substitution, '?'), out); });
    for (const std::size_t length : {std::size_t{6}, std::size_t{40}}) {
        for (const auto sense :
             {PeriodicSense::Vigenere, PeriodicSense::Beaufort, PeriodicSense::VariantBeaufort}) {
            const PeriodicKey key = PeriodicKey::Random(sense, length, random);
            const char* name = sense == PeriodicSense::Vigenere   ? "Vigenere"
                               : sense == PeriodicSense::Beaufort ? "Beaufort"
                                                                  : "variant Beaufort";
            time(std::string(name) + ", " + std::to_string(length) + " letters",
                 [&] { key.Decrypt(text, out); });
        }
    }
    for (const std::size_t length :
         {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, std::size_t{20}}) {
        const AutokeyKey key = AutokeyKey::Random(length, random);
        time("autokey, primer of " + std::to_string(length), [&] {
            moved.assign(letters.begin(), letters.end());
            key.DecryptLetters(moved);
            PutLetters(text, moved, out);
        });
    }
    for (const std::size_t columns : {std::size_t{2}, std::size_t{8}, std::size_t{20}}) {
        const ColumnarKey key = ColumnarKey::Random(columns, random);
        time("columnar, " + std::to_string(columns) + " columns", [&] {
            key.DecryptLetters(letters, moved);
            PutLetters(text, moved, out);
        });
    }
    for (const int rails : {2, 5, 20}) {
        const RailFenceKey key(rails);
        time("rail fence, " + std::to_string(rails) + " rails", [&] {
            key.DecryptLetters(letters, moved);
            PutLetters(text, moved, out);
        });
    }
    const PlayfairKey playfair = PlayfairKey::Random(random);
    time("Playfair", [&] {
        playfair.DecryptLetters(letters, moved);
        PutLetters(text, moved, out);
    });
    time("(the letters read once)", [&] { moved = TextLetters(text); });
    std::printf("Once a text, on the worker thread that reads it:\n");
    for (const int periods : {20, kPeriodLimit}) {
        time("period table and Kasiski to " + std::to_string(periods), [&] {
            PeriodAnalysis analysis(periods);
            analysis.Update(letters);
            analysis.Examination(letters, 10);
        });
    }
}

} // namespace

int main(int argc, char** argv) {
    std::filesystem::path folder = TALLIVO_CIPHER_TEXTS;
    int count = 20;
    std::uint64_t seed = 2024;
    std::string only;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--texts") {
            folder = argv[i + 1];
        } else if (option == "--count") {
            count = std::max(1, std::atoi(argv[i + 1]));
        } else if (option == "--seed") {
            seed = std::strtoull(argv[i + 1], nullptr, 10);
        } else if (option == "--only") {
            only = std::string(",") + argv[i + 1] + ",";
        }
    }
    const Texts texts(folder);
    if (texts.empty()) {
        std::fprintf(stderr, "No texts (*.txt) in %s\n", folder.string().c_str());
        return 1;
    }
    const auto wanted = [&only](const char* section) {
        return only.empty() || only.find(std::string(",") + section + ",") != std::string::npos;
    };
    std::mt19937_64 random(seed);
    if (wanted("identify")) {
        Identify(texts, count, random);
    }
    if (wanted("affine")) {
        BreakAffine(texts, count, random);
    }
    if (wanted("railfence")) {
        BreakRailFence(texts, count, random);
    }
    if (wanted("columnar")) {
        BreakColumnar(texts, count, random);
    }
    if (wanted("autokey")) {
        BreakAutokey(texts, count, random);
    }
    if (wanted("playfair")) {
        BreakPlayfair(texts, count, random);
    }
    if (wanted("period")) {
        FindPeriods(texts, count, random);
    }
    if (wanted("keychange")) {
        ChangeKeys(texts);
    }
    return 0;
}
