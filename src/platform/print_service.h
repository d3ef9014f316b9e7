#pragma once

#include <QString>

#include <functional>

class QPagedPaintDevice;
class QWidget;

namespace tallivo {

// Printing: shows the platform's print dialog modally and, when the user accepts it, hands
// paint the printer to draw its pages on (A4 unless the user chose otherwise). Returns whether
// the pages went to the printer. Tests hand the code one that paints on a file instead.
class PrintService {
public:
    virtual ~PrintService() = default;
    virtual bool Print(QWidget* parent, const QString& title,
                       const std::function<void(QPagedPaintDevice&)>& paint) = 0;
};

// The platform's print dialog and printer.
class QtPrintService : public PrintService {
public:
    bool Print(QWidget* parent, const QString& title,
               const std::function<void(QPagedPaintDevice&)>& paint) override;
};

} // namespace tallivo
