// tallivo_substitution_bench [--failures] [DATA_DIR]: how often the substitution solver breaks a
// random key, in Italian and English, with and without word spaces, at several lengths: for each,
// 20 random keys on random excerpts of texts written for it (bench/data, not in the corpora), the
// median share of letters right, the exact solves and the time per solve on one thread.

#include "language_model.h"
#include "substitution_solver.h"
#include "substitution_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <numeric>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

using namespace tallivo;

namespace {

constexpr int kKeys = 20;

struct Band {
    std::size_t shortest;
    std::size_t longest;
};

// The text in lower case with the accented letters of Italian folded to their base letter.
std::string ReadFolded(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "tallivo_substitution_bench: cannot read %s\n", path.c_str());
        std::exit(1);
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    const std::string raw = bytes.str();
    std::string folded;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const auto c = static_cast<unsigned char>(raw[i]);
        if (c == 0xC3 && i + 1 < raw.size()) {
            const auto next = static_cast<unsigned char>(raw[++i]) | 0x20U; // either case
            const char* bases = "aaaaaaaceeeeiiiidnooooo/ouuuuy";
            const unsigned offset = next - 0xA0U;
            folded.push_back(offset < 30 ? bases[offset] : '?');
        } else {
            folded.push_back(char(c >= 'A' && c <= 'Z' ? c | 0x20U : c));
        }
    }
    return folded;
}

bool IsLetter(char c) {
    return c >= 'a' && c <= 'z';
}

// An excerpt of at least letters letters from a random word start, whole words, as written.
std::string SpacedExcerpt(const std::string& text, std::size_t letters, std::mt19937_64& random) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLetter(text[i]) && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '\n')) {
            starts.push_back(i);
        }
    }
    for (;;) {
        std::size_t at = starts[random() % starts.size()];
        std::size_t counted = 0;
        std::size_t end = at;
        while (end < text.size() && (counted < letters || IsLetter(text[end]))) {
            counted += IsLetter(text[end]) ? 1 : 0;
            ++end;
        }
        if (counted >= letters) {
            return text.substr(at, end - at);
        }
    }
}

// Exactly letters letters from a random place, in groups of five.
std::string GroupedExcerpt(const std::string& text, std::size_t letters, std::mt19937_64& random) {
    std::string stream;
    for (const char c : text) {
        if (IsLetter(c)) {
            stream.push_back(c);
        }
    }
    const std::size_t at = random() % (stream.size() - letters);
    std::string grouped;
    for (std::size_t i = 0; i < letters; ++i) {
        if (i > 0 && i % 5 == 0) {
            grouped.push_back(' ');
        }
        grouped.push_back(stream[at + i]);
    }
    return grouped;
}

struct Trial {
    std::string solved; // the plaintext the solver found
    double share = 0.0; // of the letters of the text deciphered right
    double seconds = 0.0;
    std::size_t letters = 0;
};

Trial SolveOne(const std::string& plain, const LanguageModel& model, std::mt19937_64& random) {
    std::array<int, 26> key{};
    std::iota(key.begin(), key.end(), 0);
    std::shuffle(key.begin(), key.end(), random);
    std::string cipher = plain;
    for (char& c : cipher) {
        if (IsLetter(c)) {
            c = char('a' + key[std::size_t(c - 'a')]);
        }
    }
    const SubstitutionText text(cipher);
    const auto start = std::chrono::steady_clock::now();
    const SolveResult solved =
        SolveSubstitution(text, SubstitutionKey{}, LetterLocks{}, model, std::stop_token{});
    Trial trial;
    trial.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::size_t right = 0;
    trial.solved = plain;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (IsLetter(plain[i])) {
            ++trial.letters;
            const int found = solved.key.PlainOf(cipher[i] - 'a');
            trial.solved[i] = found < 0 ? '?' : char('a' + found);
            right += found == plain[i] - 'a' ? 1 : 0;
        }
    }
    trial.share = double(right) / double(trial.letters);
    return trial;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

void Run(const char* name, const std::string& text, const LanguageModel& model, bool spaced,
         const std::vector<Band>& bands, bool verbose) {
    for (const Band& band : bands) {
        // Each row draws its own texts and keys, whatever else runs.
        std::mt19937_64 random(std::hash<std::string>{}(std::string(name) + (spaced ? "s" : "g") +
                                                        std::to_string(band.shortest) + "-" +
                                                        std::to_string(band.longest)));
        std::vector<double> shares;
        std::vector<double> seconds;
        std::vector<double> lengths;
        int exact = 0;
        for (int k = 0; k < kKeys; ++k) {
            const std::size_t letters =
                band.shortest + random() % (band.longest - band.shortest + 1);
            const std::string plain = spaced ? SpacedExcerpt(text, letters, random)
                                             : GroupedExcerpt(text, letters, random);
            const Trial trial = SolveOne(plain, model, random);
            shares.push_back(trial.share);
            seconds.push_back(trial.seconds);
            lengths.push_back(double(trial.letters));
            exact += trial.share == 1.0 ? 1 : 0;
            if (verbose && trial.share < 1.0) {
                std::printf("  %s\n  %s\n\n", plain.c_str(), trial.solved.c_str());
            }
        }
        char range[32];
        if (band.shortest == band.longest) {
            std::snprintf(range, sizeof range, "%zu", band.shortest);
        } else {
            std::snprintf(range, sizeof range, "%zu-%zu", band.shortest, band.longest);
        }
        std::printf("%-8s %-14s %8s letters (median %3.0f): median right %5.1f %%, exact %2d/%d "
                    "(%3.0f %%), time median %.3f s, max %.3f s\n",
                    name, spaced ? "word spaces" : "groups of 5", range, Median(lengths),
                    100.0 * Median(shares), exact, kKeys, 100.0 * exact / kKeys, Median(seconds),
                    *std::max_element(seconds.begin(), seconds.end()));
        std::fflush(stdout);
    }
}

// The processor's name, as /proc/cpuinfo gives it, or "unknown".
std::string ProcessorName() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) == 0 && line.find(':') != std::string::npos) {
            return line.substr(line.find(':') + 2);
        }
    }
    return "unknown";
}

} // namespace

int main(int argc, char** argv) {
    // --failures prints each text not solved exactly, with what the solver made of it.
    const bool verbose = argc > 1 && std::string_view(argv[1]) == "--failures";
    const int dataArgument = verbose ? 2 : 1;
    const std::string data = argc > dataArgument ? argv[dataArgument] : TALLIVO_BENCH_DATA;
    const std::vector<Band> spacedBands{{40, 70},   {70, 110},  {100, 100},
                                        {150, 150}, {200, 200}, {300, 300}};
    const std::vector<Band> groupedBands{{40, 70},   {70, 110},  {150, 150},
                                         {200, 200}, {300, 300}, {400, 400}};
    std::printf("processor: %s; one solve at a time, on one thread; %d random keys a row\n",
                ProcessorName().c_str(), kKeys);
    for (const auto& [name, file, language] :
         {std::tuple{"Italian", "/italiano.txt", Language::Italian},
          std::tuple{"English", "/english.txt", Language::English}}) {
        const std::string text = ReadFolded(data + file);
        const LanguageModel& model = LanguageModel::Get(language);
        Run(name, text, model, true, spacedBands, verbose);
        Run(name, text, model, false, groupedBands, verbose);
    }
    return 0;
}
