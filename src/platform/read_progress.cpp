#include "read_progress.h"

#include <QApplication>
#include <QLocale>
#include <QProgressDialog>

namespace tallivo {

QtReadProgress::QtReadProgress(int thresholdMs)
    : thresholdMs_(thresholdMs) {}

QtReadProgress::~QtReadProgress() {
    End();
}

void QtReadProgress::Begin(QWidget* parent, const QString& what, std::function<void()> stop) {
    End();
    parent_ = parent;
    what_ = what;
    stop_ = std::move(stop);
    sinceBegin_.start();
}

void QtReadProgress::Advance(std::uint64_t bytesRead) {
    if (window_ == nullptr) {
        if (sinceBegin_.elapsed() < thresholdMs_) {
            return;
        }
        Show();
    }
    window_->setLabelText(QStringLiteral("Lettura di:\n%1\n\nLetti finora: %2 byte")
                              .arg(what_, QLocale().toString(qulonglong(bytesRead))));
}

void QtReadProgress::Show() {
    window_ = new QProgressDialog(parent_);
    window_->setObjectName(QStringLiteral("progressWindow"));
    window_->setWindowTitle(QStringLiteral("Tallivo"));
    window_->setAccessibleName(QStringLiteral("Lettura in corso"));
    window_->setCancelButtonText(QStringLiteral("Annulla"));
    window_->setRange(0, 0); // the size of what is read may be unknown or wrong
    window_->setMinimumDuration(0);
    window_->setMinimumWidth(360);
    window_->setAutoClose(false);
    window_->setAutoReset(false);
    window_->setWindowModality(Qt::WindowModal);
    // "Annulla" and the close box cancel; Escape rejects the window.
    const auto stop = [this] {
        if (stop_) {
            stop_();
        }
    };
    QObject::connect(window_, &QProgressDialog::canceled, window_, stop);
    QObject::connect(window_, &QDialog::rejected, window_, stop);
    window_->show();
    window_->raise();
    window_->activateWindow();
    // The arrow with the hourglass: the progress window can be used while the read goes on.
    QApplication::changeOverrideCursor(QCursor(Qt::BusyCursor));
}

void QtReadProgress::End() {
    stop_ = nullptr;
    if (window_ != nullptr) {
        window_->hide();
        window_->deleteLater();
        window_ = nullptr;
    }
}

} // namespace tallivo
