#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <stop_token>
#include <thread>

class QTimer;

namespace tallivo {

// Runs work on a worker thread while the event loop goes on, and hands its result back on
// this thread. One run counts at a time: starting again asks the run under way to stop and
// forgets its result, so only the latest work ever comes back. The work is told to stop
// through its stop token and reports how far it has got, 0 to 1, through its progress.
class BackgroundJob : public QObject {
    Q_OBJECT

public:
    using Progress = std::function<void(double fraction)>;

    explicit BackgroundJob(QObject* parent = nullptr);
    // Stops the run under way and waits for its thread.
    ~BackgroundJob() override;

    // Runs work; done receives its result unless the job is started again or stopped first, or
    // the work throws.
    template <typename Result>
    void Start(std::function<Result(std::stop_token, const Progress&)> work,
               std::function<void(Result)> done) {
        auto shared = Begin();
        Launch(shared, [this, shared, work = std::move(work),
                        done = std::move(done)](std::stop_token stop) mutable {
            std::function<void()> hand;
            try {
                auto result = std::make_shared<Result>(
                    work(stop, [shared](double fraction) { shared->progress = fraction; }));
                hand = [result, done = std::move(done)] { done(std::move(*result)); };
            } catch (const std::exception&) {
                // A run that fails hands nothing back, as one that was stopped.
            }
            Deliver(shared, std::move(hand));
        });
    }

    // Asks the run under way to stop; its result never comes.
    void Stop();

    bool IsRunning() const { return current_ != nullptr; }

signals:
    // How far the run under way has got, now and then while it runs.
    void progressed(double fraction);
    // The run under way has delivered its result or has been stopped.
    void finished();

private:
    struct Shared {
        std::atomic<double> progress{0.0};
        std::uint64_t run = 0;
    };

    std::shared_ptr<Shared> Begin();
    void Launch(const std::shared_ptr<Shared>& shared, std::function<void(std::stop_token)> body);
    // Hands the result of a run back, on this thread, if that run is still the one that counts;
    // then lets its thread go.
    void Deliver(const std::shared_ptr<Shared>& shared, std::function<void()> hand);

    std::uint64_t runs_ = 0;
    std::shared_ptr<Shared> current_;
    std::map<std::uint64_t, std::jthread> threads_; // by run; each ends soon after its delivery
    QTimer* poll_;
};

} // namespace tallivo
