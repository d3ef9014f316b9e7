#include "background_job.h"

#include <QTimer>

namespace tallivo {

namespace {

// How often the progress of a run is passed on.
constexpr int kPollMs = 50;

} // namespace

BackgroundJob::BackgroundJob(QObject* parent)
    : QObject(parent)
    , poll_(new QTimer(this)) {
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this, [this] {
        if (current_ != nullptr) {
            emit progressed(current_->progress.load());
        }
    });
}

BackgroundJob::~BackgroundJob() {
    for (auto& [run, thread] : threads_) {
        thread.request_stop();
    }
    threads_.clear(); // each joins
}

std::shared_ptr<BackgroundJob::Shared> BackgroundJob::Begin() {
    Stop();
    current_ = std::make_shared<Shared>();
    current_->run = ++runs_;
    poll_->start();
    return current_;
}

void BackgroundJob::Launch(const std::shared_ptr<Shared>& shared,
                           std::function<void(std::stop_token)> body) {
    threads_.emplace(shared->run, std::jthread(std::move(body)));
}

void BackgroundJob::Deliver(const std::shared_ptr<Shared>& shared, std::function<void()> hand) {
    QMetaObject::invokeMethod(
        this,
        [this, shared, hand = std::move(hand)] {
            // The thread has done its work: it is joined as it returns.
            threads_.erase(shared->run);
            if (current_ != shared) {
                return; // started again or stopped meanwhile
            }
            current_ = nullptr;
            poll_->stop();
            if (hand) {
                hand();
            }
            emit finished();
        },
        Qt::QueuedConnection);
}

void BackgroundJob::Stop() {
    if (current_ == nullptr) {
        return;
    }
    const auto thread = threads_.find(current_->run);
    if (thread != threads_.end()) {
        thread->second.request_stop();
    }
    current_ = nullptr;
    poll_->stop();
    emit finished();
}

} // namespace tallivo
