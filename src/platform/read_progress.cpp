#include "read_progress.h"

#include <QApplication>
#include <QLocale>
#include <QProgressDialog>

namespace tallivo {

namespace {

// How often the window is brought up to date and the program's events are handled.
constexpr int kUpdateMs = 40;

} // namespace

ProgressWatch::ProgressWatch(ReadProgress& progress, QWidget* parent, const QString& what)
    : progress_(progress) {
    progress_.Begin(parent, what);
}

ProgressWatch::~ProgressWatch() {
    progress_.End();
}

QtReadProgress::QtReadProgress(int thresholdMs)
    : thresholdMs_(thresholdMs) {}

QtReadProgress::~QtReadProgress() {
    End();
}

void QtReadProgress::Begin(QWidget* parent, const QString& what) {
    End();
    parent_ = parent;
    what_ = what;
    sinceBegin_.start();
}

bool QtReadProgress::Advance(std::uint64_t bytesRead) {
    if (window_ == nullptr) {
        if (sinceBegin_.elapsed() < thresholdMs_) {
            return true;
        }
        Show();
    } else if (sinceUpdate_.elapsed() < kUpdateMs) {
        return !window_->wasCanceled();
    }
    sinceUpdate_.start();
    window_->setLabelText(QStringLiteral("Lettura di:\n%1\n\nLetti finora: %2 byte")
                              .arg(what_, QLocale().toString(qulonglong(bytesRead))));
    QApplication::processEvents();
    return window_ != nullptr && !window_->wasCanceled();
}

void QtReadProgress::Show() {
    window_ = new QProgressDialog(parent_);
    window_->setObjectName(QStringLiteral("progressWindow"));
    window_->setWindowTitle(QStringLiteral("Tallivo"));
    window_->setCancelButtonText(QStringLiteral("Annulla"));
    window_->setRange(0, 0); // the size of what is read may be unknown or wrong
    window_->setMinimumDuration(0);
    window_->setMinimumWidth(360);
    window_->setAutoClose(false);
    window_->setAutoReset(false);
    window_->setWindowModality(Qt::ApplicationModal);
    window_->show();
    // The arrow with the hourglass: the window can be used while the read goes on.
    QApplication::changeOverrideCursor(QCursor(Qt::BusyCursor));
}

void QtReadProgress::End() {
    delete window_.data();
    window_ = nullptr;
}

} // namespace tallivo
