#include "background_job.h"

#include <QSignalSpy>
#include <QTest>

#include <atomic>
#include <stdexcept>
#include <thread>

using namespace tallivo;

namespace {

// Work that runs until it is asked to stop, then returns value.
std::function<int(std::stop_token, const BackgroundJob::Progress&)>
UntilStopped(int value, std::atomic<int>* stopped = nullptr) {
    return [value, stopped](std::stop_token stop, const BackgroundJob::Progress& progress) {
        progress(0.5);
        while (!stop.stop_requested()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        if (stopped != nullptr) {
            ++*stopped;
        }
        return value;
    };
}

std::function<int(std::stop_token, const BackgroundJob::Progress&)> Returning(int value) {
    return [value](std::stop_token, const BackgroundJob::Progress&) { return value; };
}

} // namespace

class TestBackgroundJob : public QObject {
    Q_OBJECT

private slots:
    void onlyTheLatestRunHandsBack();
    void aStoppedOrFailedRunHandsNothingBack();
    void reportsProgressAndEndsItsThreadsWithIt();
};

void TestBackgroundJob::onlyTheLatestRunHandsBack() {
    BackgroundJob job;
    QList<int> results;
    std::atomic<int> stopped{0};
    job.Start<int>(UntilStopped(1, &stopped), [&](int r) { results << r; });
    job.Start<int>(UntilStopped(2, &stopped), [&](int r) { results << r; });
    QSignalSpy finished(&job, &BackgroundJob::finished);
    job.Start<int>(Returning(3), [&](int r) { results << r; });
    QVERIFY(job.IsRunning());
    QTRY_COMPARE(results, QList<int>{3});
    QVERIFY(!job.IsRunning());
    // The two runs given up were told to stop and came to an end.
    QTRY_COMPARE(stopped.load(), 2);
    QTest::qWait(20);
    QCOMPARE(results, QList<int>{3});
}

void TestBackgroundJob::aStoppedOrFailedRunHandsNothingBack() {
    BackgroundJob job;
    QSignalSpy finished(&job, &BackgroundJob::finished);
    QList<int> results;
    job.Start<int>(UntilStopped(1), [&](int r) { results << r; });
    job.Stop();
    QCOMPARE(finished.size(), 1);
    QVERIFY(!job.IsRunning());
    job.Start<int>(
        [](std::stop_token, const BackgroundJob::Progress&) -> int {
            throw std::runtime_error("no result");
        },
        [&](int r) { results << r; });
    QTRY_COMPARE(finished.size(), 2);
    QVERIFY(!job.IsRunning());
    QTest::qWait(20);
    QVERIFY(results.isEmpty());
}

void TestBackgroundJob::reportsProgressAndEndsItsThreadsWithIt() {
    std::atomic<int> stopped{0};
    {
        BackgroundJob job;
        QSignalSpy progressed(&job, &BackgroundJob::progressed);
        job.Start<int>(UntilStopped(1, &stopped), [](int) {});
        QTRY_VERIFY(!progressed.isEmpty());
        QTRY_COMPARE(progressed.last().at(0).toDouble(), 0.5);
    }
    // Gone with the job: its run was told to stop and its thread joined.
    QCOMPARE(stopped.load(), 1);
}

QTEST_GUILESS_MAIN(TestBackgroundJob)
#include "tst_background_job.moc"
