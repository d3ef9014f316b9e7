#include "analysis_error.h"
#include "letter_counter.h"
#include "temp_files.h"

#include <QTest>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <random>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace tallivo;

Q_DECLARE_METATYPE(tallivo::AnalysisError)

namespace {

// Counts written as "a2 b2 c2": the letters that occur, each with its count.
QString Describe(const std::vector<std::int32_t>& counts) {
    QStringList parts;
    for (int i = 0; i < int(counts.size()); ++i) {
        if (counts[i] != 0) {
            parts << QStringLiteral("%1%2").arg(QChar(char16_t(u'a' + i))).arg(counts[i]);
        }
    }
    return parts.join(QLatin1Char(' '));
}

QByteArray AllBytes() {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        bytes.append(char(b));
    }
    return bytes;
}

} // namespace

class TestLetterCounter : public QObject {
    Q_OBJECT

private slots:
    void countsLettersWithoutRegardToCase_data();
    void countsLettersWithoutRegardToCase();
    void everyPathCountsTheSame();
    void threadsCountExactlyAsOneThread_data();
    void threadsCountExactlyAsOneThread();
    void totalIsOnlyAddedTo();
    void secondAnalysisStartsFromFreshCounters();
    void countPastTheLimitIsAnErrorNotAWrap_data();
    void countPastTheLimitIsAnErrorNotAWrap();
    void tallyPastTheLimitIsAnErrorNotAWrap_data();
    void tallyPastTheLimitIsAnErrorNotAWrap();
    void refusesWhatItCannotRead_data();
    void refusesWhatItCannotRead();
    void followsALinkToARegularFile();
    void neverOpensAFifo();
    void observerSeesTheBytesAndCanStopTheCount();
    void handsOnTheFirstBytesInTheSamePass_data();
    void handsOnTheFirstBytesInTheSamePass();
    void aFileCutWhileCountedIsAReadError_data();
    void aFileCutWhileCountedIsAReadError();
    void aFileCutAtAnyMomentNeverEndsTheProcess();

private:
    TempFiles files_;
};

void TestLetterCounter::countsLettersWithoutRegardToCase_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("counts");
    QTest::addColumn<int>("total");

    QTest::newRow("mixed case") << QByteArray("AbC abc") << "a2 b2 c2" << 6;
    QTest::newRow("utf-8 accent, digits, punctuation")
        << QByteArray("citt\xc3\xa0 2000!") << "c1 i1 t2" << 4;
    QTest::newRow("windows-1252 accents") << QByteArray("citt\xe0 \xe8\xc8\xf9") << "c1 i1 t2" << 4;
    QTest::newRow("LF lines") << QByteArray("ab\ncd\nef\n") << "a1 b1 c1 d1 e1 f1" << 6;
    QTest::newRow("CRLF lines") << QByteArray("ab\r\ncd\r\nef\r\n") << "a1 b1 c1 d1 e1 f1" << 6;
    QTest::newRow("CR lines") << QByteArray("ab\rcd\ref\r") << "a1 b1 c1 d1 e1 f1" << 6;
    QTest::newRow("NUL and control bytes") << QByteArray("a\0b\x01\x1b\x7f"
                                                         "c\t",
                                                         8)
                                           << "a1 b1 c1" << 3;
    QTest::newRow("neighbours of the letters") << QByteArray("@[`{\x80\xc1\xda\xe1") << "" << 0;
    QTest::newRow("every byte value once")
        << AllBytes()
        << "a2 b2 c2 d2 e2 f2 g2 h2 i2 j2 k2 l2 m2 n2 o2 p2 q2 r2 s2 t2 u2 v2 w2 x2 y2 z2" << 52;
    QTest::newRow("empty file") << QByteArray() << "" << 0;
    QTest::newRow("no letters") << QByteArray("12345 !?\n\r\n") << "" << 0;
    QTest::newRow("one line far past 32767 characters")
        << QByteArray(100000, 'Q') + QByteArray(3, 'z') << "q100000 z3" << 100003;
}

void TestLetterCounter::countsLettersWithoutRegardToCase() {
    QFETCH(QByteArray, text);
    QFETCH(QString, counts);
    QFETCH(int, total);
    const QString path = files_.Write(QStringLiteral("text"), text);
    std::vector<std::int32_t> letterCounts;
    std::int32_t totalLetters = 0;
    CountLetters(path.toStdString(), letterCounts, totalLetters);
    QCOMPARE(int(letterCounts.size()), 26);
    QCOMPARE(Describe(letterCounts), counts);
    QCOMPARE(totalLetters, total);
}

void TestLetterCounter::everyPathCountsTheSame() {
    QByteArray text;
    for (int i = 0; i < 5000; ++i) {
        text += "The Quick brown fox, perch\xc3\xa9 no? 0123 \r\n";
    }
    const QString path = files_.Write(QStringLiteral("paths"), text);
    std::vector<std::int32_t> reference;
    std::int32_t referenceTotal = 0;
    CountLetters(path.toStdString(), reference, referenceTotal, CountPath::Portable);
    for (CountPath countPath : SupportedCountPaths()) {
        std::vector<std::int32_t> counts;
        std::int32_t total = 0;
        CountLetters(path.toStdString(), counts, total, countPath);
        QVERIFY2(counts == reference, CountPathName(countPath).data());
        QCOMPARE(total, referenceTotal);
    }
    QCOMPARE(referenceTotal, 5000 * 23);
}

void TestLetterCounter::threadsCountExactlyAsOneThread_data() {
    QTest::addColumn<int>("threads");
    QTest::addColumn<int>("size");
    const int big = int(kParallelFrom) + 4 * int(kReadBufferSize) + 37; // past a block's end
    QTest::newRow("2 threads") << 2 << big;
    QTest::newRow("3 threads: slices not a block's divisor") << 3 << big;
    QTest::newRow("8 threads") << 8 << big;
    QTest::newRow("just below the threshold") << 2 << int(kParallelFrom) - 1;
    QTest::newRow("a last block smaller than a slice") << 8 << int(kParallelFrom) + 100;
}

void TestLetterCounter::threadsCountExactlyAsOneThread() {
    QFETCH(int, threads);
    QFETCH(int, size);
    QByteArray text(size, '\0');
    std::uint32_t state = 12345;
    for (char& byte : text) {
        state = state * 1103515245U + 12345U;
        byte = char(state >> 24); // every byte value, letters of both cases among them
    }
    const std::string path = files_.Write(QStringLiteral("threads"), text).toStdString();
    std::vector<std::int32_t> single;
    std::int32_t singleTotal = 5;
    std::vector<std::uint64_t> singleSeen;
    CountLetters(path, single, singleTotal, FastestCountPath(), 1, [&](std::uint64_t bytes) {
        singleSeen.push_back(bytes);
        return true;
    });
    std::vector<std::int32_t> counts;
    std::int32_t total = 5;
    std::vector<std::uint64_t> seen;
    CountLetters(path, counts, total, FastestCountPath(), unsigned(threads),
                 [&](std::uint64_t bytes) {
                     seen.push_back(bytes);
                     return true;
                 });
    QVERIFY(counts == single);
    QCOMPARE(total, singleTotal);
    QCOMPARE(seen, singleSeen); // progress block by block, as before

    // Stopped at its second block, the threaded count stops there too.
    int blocks = 0;
    QVERIFY_THROWS_EXCEPTION(
        AnalysisFailure, CountLetters(path, counts, total, FastestCountPath(), unsigned(threads),
                                      [&](std::uint64_t) { return ++blocks < 2; }));
    QCOMPARE(blocks, 2);

    // Text in memory counts the same.
    std::vector<std::int32_t> pasted;
    std::int32_t pastedTotal = 5;
    CountLettersInText(std::string_view(text.constData(), std::size_t(size)), pasted, pastedTotal);
    QVERIFY(pasted == single);
    QCOMPARE(pastedTotal, singleTotal);
}

void TestLetterCounter::totalIsOnlyAddedTo() {
    const QString path = files_.Write(QStringLiteral("six"), "AbC abc");
    std::vector<std::int32_t> counts;
    std::int32_t total = 10;
    CountLetters(path.toStdString(), counts, total);
    QCOMPARE(total, 16);
}

void TestLetterCounter::secondAnalysisStartsFromFreshCounters() {
    const QString first = files_.Write(QStringLiteral("first"), "aaaa zzz");
    const QString second = files_.Write(QStringLiteral("second"), "b");
    std::vector<std::int32_t> counts;
    std::int32_t total = 0;
    CountLetters(first.toStdString(), counts, total);
    total = 0;
    CountLetters(second.toStdString(), counts, total);
    QCOMPARE(Describe(counts), QStringLiteral("b1"));
    QCOMPARE(total, 1);
}

void TestLetterCounter::countPastTheLimitIsAnErrorNotAWrap_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("startTotal");
    QTest::addColumn<bool>("overflows");

    QTest::newRow("reaches the limit exactly") << QByteArray("ab") << INT32_MAX - 2 << false;
    QTest::newRow("one letter past the limit") << QByteArray("abc") << INT32_MAX - 2 << true;
    QTest::newRow("already at the limit") << QByteArray("z") << INT32_MAX << true;
    QTest::newRow("no letters at the limit") << QByteArray("123") << INT32_MAX << false;
}

void TestLetterCounter::countPastTheLimitIsAnErrorNotAWrap() {
    QFETCH(QByteArray, text);
    QFETCH(int, startTotal);
    QFETCH(bool, overflows);
    const QString path = files_.Write(QStringLiteral("limit"), text);
    std::vector<std::int32_t> counts;
    std::int32_t total = startTotal;
    try {
        CountLetters(path.toStdString(), counts, total);
        QVERIFY(!overflows);
        QVERIFY(total >= startTotal);
    } catch (const AnalysisFailure& failure) {
        QVERIFY(overflows);
        QCOMPARE(failure.kind(), AnalysisError::TooManyLetters);
        QVERIFY(total >= 0);
    }
}

// A tally of 64-bit counts added at once: a count that fits 32 bits unsigned but not signed
// must be refused, not cast into a negative number that adds without overflowing.
void TestLetterCounter::tallyPastTheLimitIsAnErrorNotAWrap_data() {
    QTest::addColumn<qulonglong>("amount");
    QTest::addColumn<bool>("overflows");

    QTest::newRow("the limit itself") << qulonglong(INT32_MAX) << false;
    QTest::newRow("one past the signed limit") << qulonglong(INT32_MAX) + 1 << true;
    QTest::newRow("three thousand million") << qulonglong(3000000000) << true;
    QTest::newRow("the largest 32-bit count") << qulonglong(UINT32_MAX) << true;
    QTest::newRow("past 32 bits, low half small") << (qulonglong(1) << 32) + 5 << true;
}

void TestLetterCounter::tallyPastTheLimitIsAnErrorNotAWrap() {
    QFETCH(qulonglong, amount);
    QFETCH(bool, overflows);
    LetterTally tally{};
    tally[4] = amount;
    std::vector<std::int32_t> counts(kLetterCount, 0);
    std::int32_t total = 0;
    try {
        AddTally(tally, counts, total);
        QVERIFY(!overflows);
        QCOMPARE(qulonglong(counts[4]), amount);
        QCOMPARE(qulonglong(total), amount);
    } catch (const AnalysisFailure& failure) {
        QVERIFY(overflows);
        QCOMPARE(failure.kind(), AnalysisError::TooManyLetters);
    }
    QVERIFY(counts[4] >= 0);
    QVERIFY(total >= 0);
}

void TestLetterCounter::refusesWhatItCannotRead_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<tallivo::AnalysisError>("error");

    QTest::newRow("missing file") << files_.Path(QStringLiteral("nothing-here"))
                                  << AnalysisError::FileNotFound;
    QTest::newRow("missing folder")
        << files_.Path(QStringLiteral("no/such/file")) << AnalysisError::FileNotFound;
    QTest::newRow("empty name") << QString() << AnalysisError::FileNotFound;
    QTest::newRow("name with a trailing space")
        << files_.Write(QStringLiteral("spaced"), "abc") + QLatin1Char(' ')
        << AnalysisError::FileNotFound;
    QTest::newRow("directory") << QDir::tempPath() << AnalysisError::NotRegularFile;
    QTest::newRow("endless device") << QStringLiteral("/dev/zero") << AnalysisError::NotRegularFile;
    // A FIFO with no writer: refused at once instead of waiting for one.
    const QString fifo = files_.Path(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    QTest::newRow("fifo") << fifo << AnalysisError::NotRegularFile;
    if (::geteuid() != 0) { // root reads every file
        const QString secret = files_.Write(QStringLiteral("secret"), "abc");
        QCOMPARE(::chmod(secret.toLocal8Bit().constData(), 0), 0);
        QTest::newRow("unreadable") << secret << AnalysisError::AccessDenied;
    }
}

void TestLetterCounter::refusesWhatItCannotRead() {
    QFETCH(QString, path);
    QFETCH(tallivo::AnalysisError, error);
    std::vector<std::int32_t> counts;
    std::int32_t total = 0;
    try {
        CountLetters(path.toStdString(), counts, total);
        QFAIL("no error");
    } catch (const AnalysisFailure& failure) {
        QCOMPARE(failure.kind(), error);
    }
    QCOMPARE(total, 0);
}

void TestLetterCounter::followsALinkToARegularFile() {
    const QString target = files_.Write(QStringLiteral("target"), "Hello");
    const QString link = files_.Path(QStringLiteral("link"));
    QVERIFY(QFile::link(target, link));
    std::vector<std::int32_t> counts;
    std::int32_t total = 0;
    CountLetters(link.toStdString(), counts, total);
    QCOMPARE(Describe(counts), QStringLiteral("e1 h1 l2 o1"));
}

void TestLetterCounter::neverOpensAFifo() {
    // Opening a FIFO, even to refuse it, would let a writer waiting in open go on into a closed
    // pipe. Every open of the FIFO is seen by a watch on it, without waiting on the FIFO here.
    const QByteArray fifo = files_.Path(QStringLiteral("watched-fifo")).toLocal8Bit();
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    QVERIFY(watch >= 0);
    const auto opens = [watch] {
        alignas(inotify_event) char events[4096];
        int seen = 0;
        for (ssize_t got; (got = ::read(watch, events, sizeof events)) > 0;) {
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                seen += (event->mask & IN_OPEN) != 0;
                at += ssize_t(sizeof(inotify_event) + event->len);
            }
        }
        return seen;
    };
    QVERIFY(::inotify_add_watch(watch, fifo.constData(), IN_OPEN) >= 0);

    std::vector<std::int32_t> counts;
    std::int32_t total = 0;
    AnalysisError refusal = AnalysisError::ReadError;
    try {
        CountLetters(fifo.toStdString(), counts, total);
        QFAIL("the FIFO was counted");
    } catch (const AnalysisFailure& failure) {
        refusal = failure.kind();
    }
    const int openedByCount = opens();
    // The watch sees an open of the FIFO that does not wait for a writer.
    const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    QVERIFY(reader >= 0);
    ::close(reader);
    const int openedHere = opens();
    ::close(watch);
    QCOMPARE(refusal, AnalysisError::NotRegularFile);
    QCOMPARE(openedByCount, 0);
    QCOMPARE(openedHere, 1);
}

void TestLetterCounter::observerSeesTheBytesAndCanStopTheCount() {
    const std::size_t size = 2 * kReadBufferSize + 10;
    const QString path =
        files_.Write(QStringLiteral("three blocks"), QByteArray(qsizetype(size), 'x'));
    std::vector<std::uint64_t> seen;
    std::vector<std::int32_t> counts;
    std::int32_t total = 0;
    CountLetters(path.toStdString(), counts, total, [&seen](std::uint64_t bytes) {
        seen.push_back(bytes);
        return true;
    });
    QCOMPARE(seen, (std::vector<std::uint64_t>{kReadBufferSize, 2 * kReadBufferSize, size}));
    QCOMPARE(total, std::int32_t(size));

    seen.clear();
    total = 0;
    try {
        CountLetters(path.toStdString(), counts, total, [&seen](std::uint64_t bytes) {
            seen.push_back(bytes);
            return seen.size() < 2;
        });
        QFAIL("the count went on");
    } catch (const AnalysisFailure& failure) {
        QCOMPARE(failure.kind(), AnalysisError::Cancelled);
    }
    QCOMPARE(seen.size(), std::size_t(2));
}

void TestLetterCounter::handsOnTheFirstBytesInTheSamePass_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("limit");
    const int block = int(kReadBufferSize);
    const int threaded = int(kParallelFrom) + 3 * block + 11;
    QTest::newRow("limit past a small text") << 100 << 1000;
    QTest::newRow("limit inside the first block") << 3 * block << 17;
    QTest::newRow("limit one byte past a block") << 3 * block << block + 1;
    QTest::newRow("limit exactly the text") << 2 * block << 2 * block;
    QTest::newRow("no limit: nothing handed on") << 1000 << 0;
    QTest::newRow("threaded count, limit across blocks") << threaded << 2 * block + 5;
    QTest::newRow("threaded count, limit past the text") << threaded << threaded + 1;
}

void TestLetterCounter::handsOnTheFirstBytesInTheSamePass() {
    QFETCH(int, size);
    QFETCH(int, limit);
    QByteArray text(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i) {
        text[i] = char("Ab, c\xe8\n"[(i * 7 + i / 5) % 7]);
    }
    const QString path = files_.Write(QStringLiteral("prefix"), text);
    const QByteArray expected = text.left(limit);
    const std::string_view whole(text.constData(), std::size_t(text.size()));
    // A text another program sends comes in pieces of any size, some of one byte.
    const TextStream stream = [whole](const BlockSink& sink, const ReadObserver&) {
        const std::size_t sizes[] = {1, 4093, kReadBufferSize + 7, 1, 65536};
        for (std::size_t at = 0, turn = 0; at < whole.size(); ++turn) {
            const std::size_t n = std::min(sizes[turn % std::size(sizes)], whole.size() - at);
            sink(reinterpret_cast<const unsigned char*>(whole.data() + at), n);
            at += n;
        }
    };
    for (const char* way : {"file", "memory", "stream"}) {
        std::string handed;
        const PrefixSink prefix{[&handed](const unsigned char* data, std::size_t n) {
                                    handed.append(reinterpret_cast<const char*>(data), n);
                                },
                                std::size_t(limit)};
        std::vector<std::int32_t> counts;
        std::int32_t total = 0;
        if (way == std::string_view("memory")) {
            CountLettersInText(whole, counts, total, {}, prefix);
        } else if (way == std::string_view("stream")) {
            CountLettersInStream(stream, counts, total, {}, prefix);
        } else {
            CountLetters(path.toStdString(), counts, total, {}, prefix);
        }
        QCOMPARE(QByteArray::fromStdString(handed), expected);
        std::vector<std::int32_t> plain;
        std::int32_t plainTotal = 0;
        CountLetters(path.toStdString(), plain, plainTotal);
        QVERIFY(counts == plain);
        QCOMPARE(total, plainTotal);
    }
}

void TestLetterCounter::aFileCutWhileCountedIsAReadError_data() {
    // Every way of counting a large file meets the cut in tst_large_count; here the two that
    // only the end of the count can see.
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("cutTo");
    const int large = int(kParallelFrom + 3 * kReadBufferSize);
    QTest::newRow("a small file, read, cut to nothing") << int(3 * kReadBufferSize) << 0;
    // A mapping reads zeros past the end of the file on its last page, where nothing faults.
    QTest::newRow("a large file cut inside its last page") << large << large - 10;
}

void TestLetterCounter::aFileCutWhileCountedIsAReadError() {
    QFETCH(int, size);
    QFETCH(int, cutTo);
    const QString path = files_.Write(QStringLiteral("cut"), QByteArray(size, 'a'));
    std::vector<std::int32_t> counts;
    std::int32_t total = 0;
    try {
        CountLetters(path.toStdString(), counts, total,
                     [&](std::uint64_t) { return ::truncate(qPrintable(path), cutTo) == 0; });
        QFAIL("a file cut shorter was counted");
    } catch (const AnalysisFailure& failure) {
        QCOMPARE(failure.kind(), AnalysisError::ReadError);
    }
}

void TestLetterCounter::aFileCutAtAnyMomentNeverEndsTheProcess() {
    // Cut by another thread at a random moment of the count, on whichever way it takes then:
    // the count either ends before the cut, whole, or fails with a read error.
    const std::size_t size = kParallelFrom + 4 * kReadBufferSize;
    const QByteArray text(qsizetype(size), 'x');
    std::mt19937 random(11);
    int cut = 0;
    for (int round = 0; round < 30; ++round) {
        const QString path = files_.Write(QStringLiteral("cut-%1").arg(round), text);
        std::atomic<bool> started = false;
        std::atomic<bool> cutDone = false;
        const int cutTo = std::uniform_int_distribution<int>(0, int(size) - 1)(random);
        const auto delay =
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 2000)(random));
        std::thread cutter([&] {
            while (!started) {
                std::this_thread::yield();
            }
            std::this_thread::sleep_for(delay);
            cutDone = ::truncate(qPrintable(path), cutTo) == 0;
        });
        std::vector<std::int32_t> counts;
        std::int32_t total = 0;
        try {
            CountLetters(path.toStdString(), counts, total, [&](std::uint64_t) {
                started = true;
                return true;
            });
            QCOMPARE(total, std::int32_t(size));
        } catch (const AnalysisFailure& failure) {
            QCOMPARE(failure.kind(), AnalysisError::ReadError);
            ++cut;
        }
        cutter.join();
        QVERIFY(cutDone);
    }
    QVERIFY(cut > 0);
}

QTEST_GUILESS_MAIN(TestLetterCounter)
#include "tst_letter_counter.moc"
