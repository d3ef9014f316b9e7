// Measures, in one run on a warm page cache, how fast the letter counter reads compared with a
// plain read of the same file and with a naive per-byte loop, what the whole analysis road of the
// main window costs on top of the count, and the whole process of printing the report against
// wc -l and cat of the same file. With --report FILE it prints the report lines.

#include "analysis_error.h"
#include "analysis_model.h"
#include "clipboard_text.h"
#include "file_mapping.h"
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

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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

constexpr std::size_t kFileSize = std::size_t{1} << 30;

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

// Leaves the file in the page cache as a file read from disk and counted before sits there:
// written out, dropped, read once and mapped once. (A kernel may keep a file read from disk in
// large pages, far cheaper to map than the small pages a writer can leave behind; and under some
// hypervisors the first mapping of a page costs many times what the next ones do.) Returns false
// where the file could not be dropped.
bool CacheAsReadFromDisk(const std::string& fileName) {
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    const bool dropped =
        fd >= 0 && ::fdatasync(fd) == 0 && ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0;
    ReadInBlocks(fileName, kReadBufferSize, [](const unsigned char*, std::size_t) {});
    if (fd >= 0) {
        const FileMapping mapping(fd, kFileSize);
        for (std::size_t page = 0; page < mapping.size(); page += 4096) {
            *static_cast<const volatile unsigned char*>(mapping.data() + page);
        }
        ::close(fd);
    }
    return dropped;
}

// Returns the seconds the program argv takes from its start to its end, its output thrown away;
// a negative number where it cannot be started or fails.
double ProcessSeconds(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    int status = -1;
    const bool started =
        ::posix_spawnp(&child, args[0], &actions, nullptr, args.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!started || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return -1.0;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Prints the whole process of the report on fileName against wc -l and cat of the same file.
void PrintWholeProcesses(const std::string& fileName) {
    const std::vector<std::vector<std::string>> programs{
        {"/proc/self/exe", "--report", fileName}, {"wc", "-l", fileName}, {"cat", fileName}};
    double seconds[3];
    for (int p = 0; p < 3; ++p) {
        std::vector<double> runs;
        for (int run = 0; run < 5; ++run) {
            runs.push_back(ProcessSeconds(programs[std::size_t(p)]));
        }
        std::sort(runs.begin(), runs.end());
        seconds[p] = runs.front() < 0 ? -1.0 : runs[runs.size() / 2];
    }
    if (seconds[0] < 0 || seconds[1] < 0 || seconds[2] < 0) {
        std::fprintf(stderr, "tallivo_bench: the report, wc -l or cat failed\n");
        return;
    }
    std::printf("whole process on %.1f GiB: --report %.3f s, wc -l %.3f s, cat >/dev/null %.3f s; "
                "report/wc %.2f, report/cat %.2f\n",
                double(kFileSize) / double(1 << 30), seconds[0], seconds[1], seconds[2],
                seconds[0] / seconds[1], seconds[0] / seconds[2]);
}

int RunBenchmark(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    const auto folder =
        std::filesystem::temp_directory_path() / ("tallivo_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    // Removed on every way out, a failed check too: the sample is a gigabyte.
    struct RemovedAtEnd {
        std::filesystem::path folder;
        ~RemovedAtEnd() {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    } const removed{folder};
    const auto path = folder / "sample.txt";
    WriteSampleText(path);
    const std::string fileName = path.string();

    std::size_t sink = 0;
    const auto readOnce = [&] {
        ReadInBlocks(fileName, kReadBufferSize,
                     [&](const unsigned char* data, std::size_t) { sink += data[0]; });
    };
    const std::vector<CountPath> paths = ChosenPaths();
    if (paths.empty()) {
        return 2;
    }
    // The last chosen path is the fastest: the one the program takes among them.
    const CountPath dispatched = paths.back();
    const unsigned threads = ParallelTally::MachineThreads();
    std::vector<std::int32_t> counts;
    std::int32_t total = 0;
    const auto countDispatched = [&] {
        total = 0;
        CountLetters(fileName, counts, total, dispatched, threads);
    };

    // As the writer left the file in the page cache, before it is dropped and read back.
    readOnce();
    const double writtenReadSeconds = MedianSeconds(3, readOnce);
    const double writtenCountSeconds = MedianSeconds(3, countDispatched);
    std::printf("just written (cached as the writer left it): read %.2f GB/s, count %.2f GB/s, "
                "count/read time ratio %.2f\n",
                GigabytesPerSecond(writtenReadSeconds), GigabytesPerSecond(writtenCountSeconds),
                writtenCountSeconds / writtenReadSeconds);
    if (CacheAsReadFromDisk(fileName)) {
        std::printf("from here on cached as read from disk and counted before (written out, "
                    "dropped, read once, mapped once)\n");
    }

    const double readSeconds = MedianSeconds(5, readOnce);
    std::vector<std::int32_t> naiveCounts(kLetterCount, 0);
    const double naiveSeconds = MedianSeconds(3, [&] {
        std::fill(naiveCounts.begin(), naiveCounts.end(), 0);
        ReadInBlocks(fileName, kReadBufferSize, [&](const unsigned char* data, std::size_t size) {
            NaiveCount(data, size, naiveCounts);
        });
    });

    std::printf("read: %.2f GB/s\n", GigabytesPerSecond(readSeconds));
    std::printf("naive: %.2f GB/s\n", GigabytesPerSecond(naiveSeconds));

    double bestSingleSeconds = 0.0;
    CountPath bestSingle = dispatched;
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
        if (bestSingleSeconds == 0.0 || seconds < bestSingleSeconds) {
            bestSingleSeconds = seconds;
            bestSingle = countPath;
        }
    }

    // Read, the best single thread and the dispatched count in turns, a round at a time, so that
    // the load of other programs, which comes and goes, weighs on the three alike; a ratio is
    // the median of the rounds' ratios.
    constexpr int kRounds = 7;
    std::vector<double> readRuns, singleRuns, countRuns, countPerRead, countPerSingle;
    for (int round = 0; round < kRounds; ++round) {
        readRuns.push_back(MedianSeconds(1, readOnce));
        singleRuns.push_back(MedianSeconds(1, [&] {
            total = 0;
            CountLetters(fileName, counts, total, bestSingle, 1);
        }));
        countRuns.push_back(MedianSeconds(1, countDispatched));
        if (counts != naiveCounts) {
            std::fprintf(stderr, "tallivo_bench: the threaded count differs from the naive loop\n");
            return 1;
        }
        countPerRead.push_back(countRuns.back() / readRuns.back());
        countPerSingle.push_back(countRuns.back() / singleRuns.back());
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    const double countSeconds = median(countRuns);
    const double countReadRatio = median(countPerRead);
    std::printf("in turns, %d rounds: read %.2f GB/s, %s alone %.2f GB/s, dispatched %.2f GB/s\n",
                kRounds, GigabytesPerSecond(median(readRuns)), CountPathName(bestSingle).data(),
                GigabytesPerSecond(median(singleRuns)), GigabytesPerSecond(countSeconds));
    std::printf("count (dispatched to %s, up to %u threads): %.2f GB/s, %.2fx the best single "
                "thread (%s)\n",
                CountPathName(dispatched).data(), threads, GigabytesPerSecond(countSeconds),
                1.0 / median(countPerSingle), CountPathName(bestSingle).data());

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
    SystemClipboardText clipboard;
    const PlatformServices services{dialog, messages, progress, windows, clipboard};
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
    std::printf("count/read time ratio: %.2f\n", countReadRatio);
    PrintWholeProcesses(fileName);
    std::fflush(stdout); // the counting figures, whatever becomes of the workbench's
    const bool workbench = RunWorkbenchBenchmark(fileName, messages);
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
