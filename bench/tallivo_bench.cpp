// Measures, in one run on a warm page cache, how fast the letter counter reads compared with a
// plain read of the same file and with a naive per-byte loop, and what the whole analysis road
// of the main window costs on top of the count. With --report FILE it prints the report lines.

#include "analysis_error.h"
#include "analysis_model.h"
#include "fmain.h"
#include "frequency_report.h"
#include "input_file.h"
#include "letter_counter.h"
#include "median_time.h"
#include "message_service.h"
#include "ngram_counter.h"
#include "open_file_dialog.h"
#include "parallel_tally.h"
#include "platform_services.h"
#include "read_progress.h"
#include "source_counter.h"
#include "window_service.h"
#include "workbench_figures.h"

#include <QApplication>
#include <QEventLoop>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

using namespace tallivo;

namespace {

constexpr std::size_t kFileSize = std::size_t{256} << 20;

// The paths this processor has; with TALLIVO_BENCH_PATHS=portable,avx2 only those named, so
// that a machine with more can time what a smaller one would run. Empty, with a message, when
// none of the names is a path here.
std::vector<CountPath> ChosenPaths() {
    std::vector<CountPath> paths = SupportedCountPaths();
    if (const char* only = std::getenv("TALLIVO_BENCH_PATHS")) {
        std::vector<std::string> wanted;
        std::string name;
        for (const char* c = only;; ++c) {
            if (*c == ',' || *c == '\0') {
                wanted.push_back(name);
                name.clear();
                if (*c == '\0') {
                    break;
                }
            } else {
                name += *c;
            }
        }
        std::erase_if(paths, [&wanted](CountPath path) {
            return std::find(wanted.begin(), wanted.end(), CountPathName(path)) == wanted.end();
        });
        if (paths.empty()) {
            std::fprintf(stderr, "tallivo_bench: no such path in TALLIVO_BENCH_PATHS\n");
        }
    }
    return paths;
}

// Prints the report as the list shows it, "." as the decimal separator, counted on the last of
// the chosen paths with every core, as the window counts.
int PrintReport(const std::string& fileName) {
    const std::vector<CountPath> paths = ChosenPaths();
    if (paths.empty()) {
        return 2;
    }
    std::vector<std::int32_t> counts;
    std::int32_t total = 0;
    try {
        CountLetters(fileName, counts, total, paths.back());
    } catch (const AnalysisFailure& failure) {
        std::cerr << "tallivo_bench: " << failure.what() << '\n';
        return 1;
    }
    if (total != 0) {
        for (int n = 1; n <= kLetterCount; ++n) {
            const float percent =
                RoundedPercent(counts[n - 1], total, PercentPattern::ZeroHashHash);
            std::cout << FrequencyLine(n, counts[n - 1], percent, ".") << '\n';
        }
    }
    std::cout << TotalLine(total) << '\n';
    return 0;
}

// Writes English-like text: common words, some capitals and punctuation, a line break about
// every 70 characters.
void WriteSampleText(const std::filesystem::path& path) {
    static const char* const kWords[] = {
        "the",    "of",     "and",       "to",       "in",      "is",     "that",   "for",
        "it",     "as",     "was",       "with",     "be",      "by",     "on",     "not",
        "he",     "this",   "are",       "or",       "his",     "from",   "at",     "which",
        "but",    "have",   "an",        "had",      "they",    "you",    "were",   "their",
        "one",    "all",    "we",        "can",      "her",     "has",    "there",  "been",
        "if",     "more",   "when",      "will",     "would",   "who",    "so",     "no",
        "cipher", "letter", "frequency", "analysis", "message", "secret", "key",    "quick",
        "jumps",  "lazy",   "zebra",     "extra",    "quartz",  "vexing", "jovial", "knowledge"};
    constexpr std::size_t kWordCount = sizeof kWords / sizeof kWords[0];
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    std::ofstream out(path, std::ios::binary);
    std::string chunk;
    std::size_t written = 0;
    std::size_t lineLength = 0;
    bool sentenceStart = true;
    while (written < kFileSize) {
        chunk.clear();
        while (chunk.size() < (std::size_t{1} << 20)) {
            const std::uint64_t r = next();
            std::string word = kWords[r % kWordCount];
            if (sentenceStart) {
                word[0] = char(std::toupper(static_cast<unsigned char>(word[0])));
                sentenceStart = false;
            }
            chunk += word;
            lineLength += word.size();
            if ((r >> 20) % 12 == 0) {
                chunk += '.';
                sentenceStart = true;
            } else if ((r >> 20) % 12 == 1) {
                chunk += ',';
            }
            if (lineLength >= 70) {
                chunk += '\n';
                lineLength = 0;
            } else {
                chunk += ' ';
                ++lineLength;
            }
        }
        const std::size_t take = std::min(chunk.size(), kFileSize - written);
        out.write(chunk.data(), std::streamsize(take));
        written += take;
    }
}

// Returns the first size bytes of the file fileName.
std::string SampleExcerpt(const std::string& fileName, std::size_t size) {
    std::ifstream in(fileName, std::ios::binary);
    std::string text(size, '\0');
    in.read(text.data(), std::streamsize(size));
    return text;
}

// The straightforward port: one byte at a time through tolower, a range check, an increment.
void NaiveCount(const unsigned char* data, std::size_t size, std::vector<std::int32_t>& counts) {
    for (std::size_t i = 0; i < size; ++i) {
        const int code = std::tolower(data[i]);
        if (code > 96 && code < 123) {
            ++counts[std::size_t(code - 97)];
        }
    }
}

class FixedDialog : public OpenFileDialog {
public:
    explicit FixedDialog(QString name)
        : name_(std::move(name)) {}
    QString GetOpenFileName(QWidget*) override { return name_; }

private:
    QString name_;
};

class SilentMessages : public MessageService {
public:
    void ShowMessage(QWidget*, const QString& text, const QString&) override {
        std::cerr << "tallivo_bench: " << text.toStdString() << '\n';
    }
    void EndProgram() override { std::exit(EXIT_FAILURE); }
};

class NoWindows : public WindowService {
public:
    void ShowInformation() override {}
    void ShowStatistics() override {}
    void ShowWorkbench() override {}
    void ShowGuide(const QString&) override {}
};

double GigabytesPerSecond(double seconds) {
    return double(kFileSize) / seconds / 1e9;
}

int RunBenchmark(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    const auto folder =
        std::filesystem::temp_directory_path() / ("tallivo_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto path = folder / "sample.txt";
    WriteSampleText(path);
    const std::string fileName = path.string();

    std::size_t sink = 0;
    ReadInBlocks(fileName, kReadBufferSize,
                 [&](const unsigned char*, std::size_t size) { sink += size; });

    const double readSeconds = MedianSeconds(5, [&] {
        ReadInBlocks(fileName, kReadBufferSize,
                     [&](const unsigned char* data, std::size_t) { sink += data[0]; });
    });
    std::vector<std::int32_t> naiveCounts(kLetterCount, 0);
    const double naiveSeconds = MedianSeconds(3, [&] {
        std::fill(naiveCounts.begin(), naiveCounts.end(), 0);
        ReadInBlocks(fileName, kReadBufferSize, [&](const unsigned char* data, std::size_t size) {
            NaiveCount(data, size, naiveCounts);
        });
    });

    std::printf("read: %.2f GB/s\n", GigabytesPerSecond(readSeconds));
    std::printf("naive: %.2f GB/s\n", GigabytesPerSecond(naiveSeconds));

    const std::vector<CountPath> paths = ChosenPaths();
    if (paths.empty()) {
        return 2;
    }
    std::vector<std::int32_t> counts;
    std::int32_t total = 0;
    double fastestSingleSeconds = 0.0;
    for (const CountPath countPath : paths) {
        const double seconds = MedianSeconds(5, [&] {
            total = 0;
            CountLetters(fileName, counts, total, countPath, 1);
        });
        if (counts != naiveCounts) {
            std::fprintf(stderr, "tallivo_bench: %s counts differ from the naive loop\n",
                         CountPathName(countPath).data());
            return 1;
        }
        std::printf("count on %s path, 1 thread: %.2f GB/s, %.2fx naive\n",
                    CountPathName(countPath).data(), GigabytesPerSecond(seconds),
                    naiveSeconds / seconds);
        fastestSingleSeconds = seconds;
    }

    const CountPath dispatched = paths.back();
    const unsigned threads = ParallelTally::MachineThreads();
    const double countSeconds = MedianSeconds(5, [&] {
        total = 0;
        CountLetters(fileName, counts, total, dispatched, threads);
    });
    if (counts != naiveCounts) {
        std::fprintf(stderr, "tallivo_bench: the threaded count differs from the naive loop\n");
        return 1;
    }
    std::printf("count (dispatched to %s, %u threads): %.2f GB/s, %.2fx its single thread\n",
                CountPathName(dispatched).data(), threads, GigabytesPerSecond(countSeconds),
                fastestSingleSeconds / countSeconds);

    // Small texts, the size of a short exercise: no thread is started for them.
    const std::string small = SampleExcerpt(fileName, 4096);
    std::vector<std::int32_t> smallCounts;
    std::int32_t smallTotal = 0;
    constexpr int kSmallRuns = 20000;
    const double smallSeconds = MedianSeconds(5, [&] {
        for (int run = 0; run < kSmallRuns; ++run) {
            smallTotal = 0;
            CountLettersInText(small, smallCounts, smallTotal);
        }
    });
    std::printf("small texts (4 KiB in memory): %.0f counts per second\n",
                kSmallRuns / smallSeconds);

    // The statistics window's second pass: letters, bigrams and trigrams.
    std::uint64_t bigrams = 0;
    const double ngramSeconds = MedianSeconds(3, [&] {
        NGramCounter ngrams;
        ReadInBlocks(
            fileName, kReadBufferSize,
            [&ngrams](const unsigned char* data, std::size_t size) { ngrams.Add(data, size); });
        bigrams = ngrams.Total(2);
    });
    if (bigrams + 1 != std::uint64_t(total)) {
        std::fprintf(stderr, "tallivo_bench: %llu bigrams for %d letters\n",
                     static_cast<unsigned long long>(bigrams), total);
        return 1;
    }
    std::printf("n-grams (letters, bigrams, trigrams): %.2f GB/s\n",
                GigabytesPerSecond(ngramSeconds));

    FixedDialog dialog(QString::fromStdString(fileName));
    SilentMessages messages;
    QtReadProgress progress;
    NoWindows windows;
    const PlatformServices services{dialog, messages, progress, windows};
    SourceCounter counter(services);
    AnalysisModel model;
    FMain window(services, counter, model);
    // The whole road: the command, the count on the worker, the report back on this thread.
    const double roadSeconds = MedianSeconds(5, [&] {
        QEventLoop reported;
        QObject::connect(&counter, &SourceCounter::finished, &reported, &QEventLoop::quit);
        window.cmdBrowse_Click();
        reported.exec();
    });
    if (window.totalLetters() != total) {
        std::fprintf(stderr, "tallivo_bench: the window counted %d letters, the counter %d\n",
                     window.totalLetters(), total);
        return 1;
    }

    std::printf("letters: %d (checksum %zu)\n", total, sink % 10);
    std::printf("naive/count speedup: %.2f\n", naiveSeconds / countSeconds);
    std::printf("road/count time ratio: %.2f\n", roadSeconds / countSeconds);
    std::printf("count/read time ratio: %.2f\n", countSeconds / readSeconds);
    const bool workbench = RunWorkbenchBenchmark(fileName, messages);
    std::filesystem::remove_all(folder);
    return workbench ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && std::string(argv[1]) == "--report") {
        return PrintReport(argv[2]);
    }
    if (argc != 1) {
        std::cerr << "usage: tallivo_bench [--report FILE]\n";
        return 2;
    }
    return RunBenchmark(argc, argv);
}
