#include "fault_guard.h"

#include <QProcess>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace tallivo;

namespace {

const std::size_t kPage = std::size_t(::sysconf(_SC_PAGESIZE));

// A file of four pages mapped into memory, then cut to keep bytes; all of it goes with the object.
class CutMapping {
public:
    explicit CutMapping(std::size_t keep)
        : fd_(::memfd_create("tallivo_cut", MFD_CLOEXEC)) {
        if (fd_ < 0 || ::ftruncate(fd_, off_t(4 * kPage)) != 0) {
            qFatal("no file to map");
        }
        data_ =
            static_cast<unsigned char*>(::mmap(nullptr, 4 * kPage, PROT_READ, MAP_SHARED, fd_, 0));
        if (data_ == MAP_FAILED || ::ftruncate(fd_, off_t(keep)) != 0) {
            qFatal("cannot map or cut the file");
        }
    }
    ~CutMapping() {
        ::munmap(data_, 4 * kPage);
        ::close(fd_);
    }
    const unsigned char* data() const { return data_; }

private:
    int fd_;
    unsigned char* data_;
};

// Reads the byte at offset of mapping within a guard over the range [from, to) of it.
bool GuardedRead(const CutMapping& mapping, std::size_t offset, std::size_t from, std::size_t to) {
    volatile unsigned char sink = 0;
    auto read = [&] { sink = mapping.data()[offset]; };
    return RunGuarded(mapping.data() + from, to - from, read);
}

} // namespace

class TestFaultGuard : public QObject {
    Q_OBJECT

private slots:
    void aReadPastTheCutIsCaught_data();
    void aReadPastTheCutIsCaught();
    void anyOtherFaultStillEndsTheProcess_data();
    void anyOtherFaultStillEndsTheProcess();
};

void TestFaultGuard::aReadPastTheCutIsCaught_data() {
    QTest::addColumn<int>("keep");    // bytes left in the file, in pages
    QTest::addColumn<double>("read"); // where the read is, in pages
    QTest::addColumn<bool>("readable");

    QTest::newRow("a page still in the file") << 2 << 1.5 << true;
    QTest::newRow("the first page past the cut") << 2 << 2.0 << false;
    QTest::newRow("the last byte of the mapping") << 1 << 4.0 - 1e-6 << false;
    QTest::newRow("cut to nothing") << 0 << 0.0 << false;
    // Past the end of the file but on its last page: zeros, no fault.
    QTest::newRow("past a cut inside a page") << 0 << -1.0 << true;
}

void TestFaultGuard::aReadPastTheCutIsCaught() {
    QFETCH(int, keep);
    QFETCH(double, read);
    QFETCH(bool, readable);
    const bool insidePage = read < 0;
    const CutMapping mapping(insidePage ? kPage / 2 : std::size_t(keep) * kPage);
    const std::size_t offset = insidePage ? kPage - 1 : std::size_t(read * double(kPage));
    // Twice: a caught fault leaves the guard ready for the next.
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(GuardedRead(mapping, offset, 0, 4 * kPage), readable);
    }
}

void TestFaultGuard::anyOtherFaultStillEndsTheProcess_data() {
    QTest::addColumn<QString>("guard");   // the read past the cut: in a guard over another range
    QTest::addColumn<QString>("handler"); // "own": the program has a SIGBUS handler of its own
    QTest::addColumn<int>("exitCode");    // of the program's handler; -1: ended by the signal

    QTest::newRow("no guard, no handler") << "unguarded"
                                          << "none" << -1;
    QTest::newRow("a guard over other pages, no handler") << "guarded"
                                                          << "none" << -1;
    QTest::newRow("no guard, the program's handler") << "unguarded"
                                                     << "own" << 3;
    QTest::newRow("a guard over other pages, the program's handler") << "guarded"
                                                                     << "own" << 3;
}

void TestFaultGuard::anyOtherFaultStillEndsTheProcess() {
    QFETCH(QString, guard);
    QFETCH(QString, handler);
    QFETCH(int, exitCode);
    QProcess child;
    child.start(QStringLiteral(TALLIVO_FAULT_CHILD), {guard, handler});
    QVERIFY(child.waitForFinished(30000));
    if (exitCode >= 0) {
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), exitCode);
    } else if (child.exitStatus() == QProcess::CrashExit) {
        QCOMPARE(child.exitCode(), SIGBUS); // the signal that ended it
    } else {
        // A sanitizer's own handler reports the fault and exits with an error.
        QVERIFY2(child.exitCode() != 0 && child.exitCode() != 2, "the fault was swallowed");
    }
}

QTEST_GUILESS_MAIN(TestFaultGuard)
#include "tst_fault_guard.moc"
