#include "search_progress_row.h"

#include "background_job.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace tallivo {

namespace {

constexpr int kShownAfterMs = 500;

} // namespace

SearchProgressRow::SearchProgressRow(QWidget* parent)
    : QWidget(parent)
    , lblRicerca(new QLabel(this))
    , barRicerca(new QProgressBar(this))
    , cmdAnnulla(new QPushButton(QStringLiteral("Annulla"), this))
    , delay_(new QTimer(this)) {
    setObjectName(QStringLiteral("searchProgress"));
    barRicerca->setObjectName(QStringLiteral("barRicerca"));
    barRicerca->setRange(0, 100);
    barRicerca->setAccessibleName(QStringLiteral("Avanzamento della ricerca"));
    cmdAnnulla->setObjectName(QStringLiteral("cmdAnnullaRicerca"));
    cmdAnnulla->setAutoDefault(false);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(lblRicerca);
    row->addWidget(barRicerca, 1);
    row->addWidget(cmdAnnulla);
    delay_->setSingleShot(true);
    delay_->setInterval(kShownAfterMs);
    connect(delay_, &QTimer::timeout, this, [this] {
        if (job_ != nullptr && job_->IsRunning()) {
            show();
        }
    });
    connect(cmdAnnulla, &QPushButton::clicked, this, [this] {
        if (job_ != nullptr) {
            job_->Stop();
        }
    });
    hide();
}

void SearchProgressRow::Watch(BackgroundJob* job, const QString& what) {
    if (job_ != nullptr) {
        disconnect(job_, nullptr, this, nullptr);
    }
    job_ = job;
    lblRicerca->setText(what);
    barRicerca->setValue(0);
    connect(job, &BackgroundJob::progressed, this,
            [this](double fraction) { barRicerca->setValue(int(fraction * 100.0)); });
    connect(job, &BackgroundJob::finished, this, &SearchProgressRow::End);
    delay_->start();
}

void SearchProgressRow::End() {
    delay_->stop();
    hide();
}

} // namespace tallivo
