#include "letter_counter.h"
#include "letter_tally.h"
#include "naive_tally.h"
#include "temp_files.h"

#include <QTest>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

using namespace tallivo;

namespace {

LetterTally NaiveTally(const QByteArray& bytes) {
    return NaiveLetterTally(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

QByteArray RandomBlob(std::mt19937_64& random, std::size_t size, double letterShare) {
    return QByteArray::fromStdString(RandomLetterBlob(random, size, letterShare));
}

LetterTally Tally(CountPath path, const QByteArray& bytes, std::size_t offset = 0) {
    LetterTally tally{};
    TallyLetters(path, reinterpret_cast<const unsigned char*>(bytes.constData()) + offset,
                 std::size_t(bytes.size()) - offset, tally);
    return tally;
}

} // namespace

class TestLetterTally : public QObject {
    Q_OBJECT

private slots:
    void everyPathMatchesTheNaiveCount();
    void byteCountersDoNotWrapOnLongRuns();
    void filesStraddlingTheBufferMatchTheNaiveCount();
    void portableChunkBoundariesMatchTheNaiveCount();
    void pathsRunFromTheSlowestToTheFastest_data();
    void pathsRunFromTheSlowestToTheFastest();
};

void TestLetterTally::everyPathMatchesTheNaiveCount() {
    std::mt19937_64 random(20261208);
    // Around the stretches of the vector paths: 255 vectors of 32 and 64 bytes, 31 of 64.
    std::vector<std::size_t> sizes{0,   1,    31,   32,   33,   63,   64,   65,
                                   127, 1983, 1984, 1985, 8159, 8160, 8161, 16320};
    std::uniform_int_distribution<std::size_t> anySize(0, 40000);
    for (int i = 0; i < 60; ++i) {
        sizes.push_back(anySize(random));
    }
    for (const std::size_t size : sizes) {
        for (const double letterShare : {0.0, 0.5, 1.0}) {
            const QByteArray blob = RandomBlob(random, size, letterShare);
            const LetterTally expected = NaiveTally(blob);
            for (const CountPath path : SupportedCountPaths()) {
                // Unaligned starts too: the vector paths load from any address.
                for (const std::size_t offset : {std::size_t{0}, std::size_t{1}, std::size_t{7}}) {
                    if (offset > size) {
                        continue;
                    }
                    const LetterTally got = Tally(path, blob, offset);
                    const LetterTally want = NaiveTally(blob.mid(qsizetype(offset)));
                    QVERIFY2(got == want, qPrintable(QStringLiteral("%1, size %2, offset %3")
                                                         .arg(CountPathName(path).data())
                                                         .arg(size)
                                                         .arg(offset)));
                }
                QVERIFY(Tally(path, blob) == expected);
            }
        }
    }
}

void TestLetterTally::byteCountersDoNotWrapOnLongRuns() {
    // 1,100,000 copies of one letter: far more than 255 per byte lane, and more than 65,535
    // per 16-bit counter of a lane, in either case.
    const QByteArray lower(1100000, 'e');
    const QByteArray upper(1100001, 'Z');
    for (const CountPath path : SupportedCountPaths()) {
        QCOMPARE(Tally(path, lower)[4], std::uint64_t{1100000});
        QCOMPARE(Tally(path, upper)[25], std::uint64_t{1100001});
    }
}

void TestLetterTally::filesStraddlingTheBufferMatchTheNaiveCount() {
    TempFiles files;
    std::mt19937_64 random(8122026);
    const std::size_t buffer = kReadBufferSize;
    std::uniform_int_distribution<std::size_t> anySize(0, 3 * buffer);
    std::vector<std::size_t> sizes{buffer - 1, buffer, buffer + 1, 2 * buffer + 33};
    for (int i = 0; i < 3; ++i) {
        sizes.push_back(anySize(random));
    }
    for (const std::size_t size : sizes) {
        const QByteArray blob = RandomBlob(random, size, 0.4);
        const QString path = files.Write(QStringLiteral("blob"), blob);
        const LetterTally expected = NaiveTally(blob);
        for (const CountPath countPath : SupportedCountPaths()) {
            std::vector<std::int32_t> counts;
            std::int32_t total = 0;
            CountLetters(path.toStdString(), counts, total, countPath);
            std::uint64_t expectedTotal = 0;
            for (int i = 0; i < kLetterCount; ++i) {
                QCOMPARE(std::uint64_t(counts[i]), expected[i]);
                expectedTotal += expected[i];
            }
            QCOMPARE(std::uint64_t(total), expectedTotal);
        }
    }
}

void TestLetterTally::portableChunkBoundariesMatchTheNaiveCount() {
    // The portable path restarts its tables every chunk (1 GiB in use); small chunks put many
    // boundaries, on and off its 16-byte steps, into a small text.
    std::mt19937_64 random(7);
    const QByteArray blob = RandomBlob(random, 10000, 0.5);
    const LetterTally want = NaiveTally(blob);
    for (const std::size_t chunk : {1, 15, 16, 17, 999, 10000, 20000}) {
        LetterTally got{};
        TallyPortableInChunks(reinterpret_cast<const unsigned char*>(blob.constData()),
                              std::size_t(blob.size()), chunk, got);
        QVERIFY2(got == want, qPrintable(QString::number(chunk)));
    }
}

void TestLetterTally::pathsRunFromTheSlowestToTheFastest_data() {
    QTest::addColumn<QString>("features");
    QTest::addColumn<QString>("paths"); // slowest first: the last one is the one taken

    const QString all = "avx2 avx512bw avx512vbmi avx512bitalg gfni";
    QTest::newRow("none") << ""
                          << "portable";
    QTest::newRow("avx2 alone") << "avx2"
                                << "portable avx2";
    QTest::newRow("avx512bw without gfni: avx2 wins") << "avx2 avx512bw avx512vbmi avx512bitalg"
                                                      << "portable avx512bw avx2";
    QTest::newRow("every feature: gfni wins") << all << "portable avx512bw avx2 avx512-gfni";
    QTest::newRow("gfni without avx-512 (a desktop processor)") << "avx2 gfni"
                                                                << "portable avx2";
    QTest::newRow("gfni without vbmi") << "avx2 avx512bw avx512bitalg gfni"
                                       << "portable avx512bw avx2";
    QTest::newRow("gfni without bitalg") << "avx2 avx512bw avx512vbmi gfni"
                                         << "portable avx512bw avx2";
    QTest::newRow("avx512bw without avx2") << "avx512bw"
                                           << "portable avx512bw";
    QTest::newRow("arm64") << "neon"
                           << "portable neon";
}

void TestLetterTally::pathsRunFromTheSlowestToTheFastest() {
    QFETCH(QString, features);
    QFETCH(QString, paths);
    CountFeatures offered;
    const std::vector<std::pair<QString, bool*>> names{{"avx2", &offered.avx2},
                                                       {"avx512bw", &offered.avx512bw},
                                                       {"avx512vbmi", &offered.avx512vbmi},
                                                       {"avx512bitalg", &offered.avx512bitalg},
                                                       {"gfni", &offered.gfni},
                                                       {"neon", &offered.neon}};
    for (const QString& feature : features.split(' ', Qt::SkipEmptyParts)) {
        const auto found = std::find_if(names.begin(), names.end(),
                                        [&](const auto& name) { return name.first == feature; });
        QVERIFY2(found != names.end(), qPrintable(feature));
        *found->second = true;
    }
    QStringList chosen;
    for (const CountPath path : CountPathsFor(offered)) {
        chosen << QString::fromLatin1(CountPathName(path));
    }
    QCOMPARE(chosen.join(' '), paths);
}

QTEST_GUILESS_MAIN(TestLetterTally)
#include "tst_letter_tally.moc"
