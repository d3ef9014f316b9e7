#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace tallivo {

class BackgroundJob;

// A row that shows how far a long search on a worker thread has got, with "Annulla": it
// appears only once the search has run for half a second, and goes when the search ends or is
// stopped. The window stays usable meanwhile.
class SearchProgressRow : public QWidget {
    Q_OBJECT

public:
    explicit SearchProgressRow(QWidget* parent = nullptr);

    // Follows the run job has just started, described by what ("Ricerca della chiave…").
    void Watch(BackgroundJob* job, const QString& what);

private:
    void End();

    QPointer<BackgroundJob> job_;
    QLabel* lblRicerca;
    QProgressBar* barRicerca;
    QPushButton* cmdAnnulla;
    QTimer* delay_;
};

} // namespace tallivo
