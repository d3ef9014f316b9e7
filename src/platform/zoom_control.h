#pragma once

#include <QFont>
#include <QObject>

class QAction;
class QWidget;

namespace tallivo {

// Ctrl++, Ctrl+- and Ctrl+0 on a window that lays itself out: its text and pictures larger
// (for a classroom projector), smaller, or as the desktop has them. The window applies the
// factor when told it has changed.
class ZoomControl : public QObject {
    Q_OBJECT

public:
    explicit ZoomControl(QWidget* window);

    double factor() const;

    // Returns font at factor times its size.
    QFont Scaled(const QFont& font) const;

    // Returns length at factor times its size, in whole pixels.
    int Scaled(int length) const;

    void ZoomIn();
    void ZoomOut();
    void Reset();

signals:
    void changed(double factor);

private:
    void Step(int steps);

    int steps_ = 0;
};

} // namespace tallivo
