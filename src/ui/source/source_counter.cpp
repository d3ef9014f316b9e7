#include "source_counter.h"

#include "input_block.h"
#include "message_service.h"
#include "platform_services.h"
#include "read_progress.h"
#include "wait_cursor.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <exception>

namespace tallivo {

namespace {

// How often the progress window hears how far the read has got.
constexpr int kPollMs = 40;

const QString kUnexpectedError =
    QStringLiteral("Si è verificato un errore imprevisto: l'analisi non è stata completata.");

} // namespace

SourceCounter::SourceCounter(const PlatformServices& services, QObject* parent)
    : QObject(parent)
    , services_(services)
    , poll_(new QTimer(this)) {
    poll_->setInterval(kPollMs);
    connect(poll_, &QTimer::timeout, this,
            [this] { services_.progress.Advance(shared_->bytesRead.load()); });
}

SourceCounter::~SourceCounter() {
    if (shared_ != nullptr) {
        shared_->stop = true;
    }
    if (worker_.joinable()) {
        worker_.join();
    }
    if (busy_) {
        services_.progress.End();
    }
}

bool SourceCounter::CountLetters(QWidget* parent, const TextSource& source,
                                 std::function<void(std::optional<Counts>)> done) {
    auto counts = std::make_shared<Counts>();
    return Start(
        parent, source,
        [source, counts](const ReadObserver& observer) {
            return source.CountLetters(counts->letters, counts->total, observer);
        },
        [counts, done = std::move(done)](std::optional<FileStamp> stamp) {
            if (!stamp) {
                done(std::nullopt);
                return;
            }
            counts->stamp = *stamp;
            done(std::move(*counts));
        });
}

bool SourceCounter::Read(QWidget* parent, const TextSource& source, BlockSink sink,
                         std::function<void(std::optional<FileStamp>)> done) {
    return Start(
        parent, source,
        [source, sink = std::move(sink)](const ReadObserver& observer) {
            return source.Read(sink, observer);
        },
        std::move(done));
}

bool SourceCounter::Start(QWidget* parent, const TextSource& source, Pass pass,
                          std::function<void(std::optional<FileStamp>)> done) {
    if (busy_) {
        return false;
    }
    busy_ = true;
    parent_ = parent;
    source_ = source;
    done_ = std::move(done);
    shared_ = std::make_shared<Shared>();
    hourglass_ = std::make_unique<WaitCursor>();
    block_ = std::make_unique<InputBlock>();
    watchedWindow_ = parent != nullptr ? parent->window() : nullptr;
    if (watchedWindow_ != nullptr) {
        watchedWindow_->installEventFilter(this);
    }
    services_.progress.Begin(parent, source.DisplayName(), [this] { Cancel(); });
    poll_->start();

    worker_ = std::jthread([this, shared = shared_, pass = std::move(pass)] {
        std::optional<AnalysisError> failure;
        bool unexpected = false;
        FileStamp stamp;
        try {
            stamp = pass([&shared](std::uint64_t bytesRead) {
                shared->bytesRead = bytesRead;
                return !shared->stop.load();
            });
        } catch (const AnalysisFailure& error) {
            failure = error.kind();
        } catch (const std::exception& error) {
            // The detail is for a bug report; the user reads Italian only.
            qWarning("tallivo: unexpected error: %s", error.what());
            unexpected = true;
        }
        QMetaObject::invokeMethod(
            this, [this, failure, unexpected, stamp] { Finish(failure, unexpected, stamp); },
            Qt::QueuedConnection);
    });
    return true;
}

void SourceCounter::Cancel() {
    if (shared_ != nullptr) {
        shared_->stop = true;
    }
}

bool SourceCounter::eventFilter(QObject* watched, QEvent* event) {
    if (busy_ && watched == watchedWindow_ && event->type() == QEvent::Close) {
        Cancel();
        // The program may end with the window: the progress window goes at once.
        services_.progress.End();
    }
    return false;
}

void SourceCounter::Finish(std::optional<AnalysisError> failure, bool unexpected, FileStamp stamp) {
    poll_->stop();
    worker_.join();
    services_.progress.End();
    if (watchedWindow_ != nullptr) {
        watchedWindow_->removeEventFilter(this);
    }
    block_.reset();
    hourglass_.reset();
    const bool stopped = shared_->stop.load() || failure == AnalysisError::Cancelled;
    busy_ = false;
    std::function<void(std::optional<FileStamp>)> done = std::move(done_);
    done_ = nullptr;
    const TextSource source = *source_;

    if (unexpected) {
        services_.messages.ShowMessage(parent_, kUnexpectedError, QStringLiteral("Tallivo"));
    } else if (failure && !stopped) {
        services_.messages.ShowMessage(parent_, FailureMessage(*failure, source),
                                       QStringLiteral("Tallivo"));
    }
    if (failure || unexpected || stopped) {
        done(std::nullopt);
    } else {
        done(stamp);
    }
    emit finished();
}

} // namespace tallivo
