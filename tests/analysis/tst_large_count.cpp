#include "analysis_error.h"
#include "file_mapping.h"
#include "large_count.h"
#include "naive_tally.h"
#include "temp_files.h"

#include <QTest>

#include <map>
#include <random>
#include <unistd.h>

using namespace tallivo;

Q_DECLARE_METATYPE(std::vector<tallivo::CountWay>)

namespace {

constexpr std::size_t kBlock = kReadBufferSize;

const CountWay kMappedAlone{true, 1};
const CountWay kMappedWithHelpers{true, 3};
const CountWay kReadAlone{false, 1};
const CountWay kReadWithHelpers{false, 2};

// A large file as the counter opens it: its mapping and what a count reads of it.
struct OpenLargeFile {
    explicit OpenLargeFile(const QString& path)
        : file(path.toStdString())
        , mapping(file.Descriptor(), std::size_t(file.Stamp().size))
        , text{&file, mapping.data(), mapping.size(), &mapping, path.toStdString()} {}

    InputFile file;
    FileMapping mapping;
    LargeText text;
};

void AddWayRows(const char* what, int size) {
    QTest::addRow("%s, mapped alone", what) << std::vector<CountWay>{kMappedAlone} << size;
    QTest::addRow("%s, mapped with helpers", what)
        << std::vector<CountWay>{kMappedWithHelpers} << size;
    QTest::addRow("%s, read alone", what) << std::vector<CountWay>{kReadAlone} << size;
    QTest::addRow("%s, read with helpers", what) << std::vector<CountWay>{kReadWithHelpers} << size;
    // The helpers read a block ahead; the next stretch, mapped, counts it from its buffer.
    QTest::addRow("%s, read with helpers, then mapped", what)
        << std::vector<CountWay>{kReadWithHelpers, kMappedAlone} << size;
}

} // namespace

class TestLargeCount : public QObject {
    Q_OBJECT

private slots:
    void everyWayCountsAsTheNaiveCount_data();
    void everyWayCountsAsTheNaiveCount();
    void aFileCutWhileCountedIsAReadError_data();
    void aFileCutWhileCountedIsAReadError();

private:
    TempFiles files_;
    std::map<int, std::string> texts_;
};

void TestLargeCount::everyWayCountsAsTheNaiveCount_data() {
    QTest::addColumn<std::vector<CountWay>>("ways");
    QTest::addColumn<int>("size");
    AddWayRows("whole stretches", int(kParallelFrom));
    AddWayRows("a byte into a stretch", int(kParallelFrom + 1));
    AddWayRows("a byte short of a block", int(kParallelFrom + 3 * kBlock - 1));
    AddWayRows("off every piece", int(kParallelFrom + kBlock + 65537));
}

void TestLargeCount::everyWayCountsAsTheNaiveCount() {
    QFETCH(std::vector<CountWay>, ways);
    QFETCH(int, size);
    std::string& bytes = texts_[size]; // the same text for every way
    if (bytes.empty()) {
        std::mt19937_64 random{std::uint64_t(size)};
        bytes = RandomLetterBlob(random, std::size_t(size), 0.4);
        files_.Write(QString::number(size), QByteArray::fromStdString(bytes));
    }
    const LetterTally want = NaiveLetterTally(bytes);
    const QString path = files_.Path(QString::number(size));
    OpenLargeFile open(path);
    const std::size_t limit = kBlock + kBlock / 2 + 3;
    std::vector<std::uint64_t> wantSeen;
    for (std::size_t end = kBlock; end < std::size_t(size); end += kBlock) {
        wantSeen.push_back(end);
    }
    wantSeen.push_back(std::uint64_t(size));

    LargeText inMemory{nullptr, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                       nullptr, "text"};
    for (const bool fromFile : {true, false}) {
        std::vector<CountWay> usable = ways;
        if (!fromFile) { // a text in memory has nothing to read
            std::erase_if(usable, [](const CountWay& way) { return !way.mapped; });
            if (usable.empty()) {
                continue;
            }
        }
        std::vector<std::int32_t> counts(kLetterCount, 0);
        std::int32_t total = 7;
        std::vector<std::uint64_t> seen;
        std::string handed;
        CountLargeText(fromFile ? open.text : inMemory, FastestCountPath(), usable, counts, total,
                       [&seen](std::uint64_t bytesRead) {
                           seen.push_back(bytesRead);
                           return true;
                       },
                       {[&handed](const unsigned char* data, std::size_t n) {
                            handed.append(reinterpret_cast<const char*>(data), n);
                        },
                        limit});
        std::uint64_t letters = 0;
        for (int i = 0; i < kLetterCount; ++i) {
            QCOMPARE(std::uint64_t(counts[std::size_t(i)]), want[std::size_t(i)]);
            letters += want[std::size_t(i)];
        }
        QCOMPARE(std::uint64_t(total), 7 + letters);
        QCOMPARE(seen, wantSeen);
        QVERIFY(handed == bytes.substr(0, limit));
    }
}

void TestLargeCount::aFileCutWhileCountedIsAReadError_data() {
    QTest::addColumn<std::vector<CountWay>>("ways");
    QTest::addColumn<int>("size"); // the size the file is cut to
    AddWayRows("cut to nothing", 0);
    AddWayRows("cut inside a later block", int(3 * kBlock + 100));
    AddWayRows("cut a page short", int(kParallelFrom + kBlock - 4096));
}

void TestLargeCount::aFileCutWhileCountedIsAReadError() {
    QFETCH(std::vector<CountWay>, ways);
    QFETCH(int, size);
    const QString path =
        files_.Write(QStringLiteral("cut"), QByteArray(qsizetype(kParallelFrom + kBlock), 'e'));
    OpenLargeFile open(path);
    QVERIFY(open.mapping.data() != nullptr);
    std::vector<std::int32_t> counts(kLetterCount, 0);
    std::int32_t total = 0;
    try {
        // Cut after the first stretch, while the count goes on.
        CountLargeText(open.text, FastestCountPath(), ways, counts, total,
                       [&](std::uint64_t) { return ::truncate(qPrintable(path), size) == 0; }, {});
        QFAIL("the count went on past the cut");
    } catch (const AnalysisFailure& failure) {
        QCOMPARE(failure.kind(), AnalysisError::ReadError);
    }
}

QTEST_GUILESS_MAIN(TestLargeCount)
#include "tst_large_count.moc"
