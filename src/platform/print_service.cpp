#include "print_service.h"

#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

namespace tallivo {

bool QtPrintService::Print(QWidget* parent, const QString& title,
                           const std::function<void(QPagedPaintDevice&)>& paint) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(title);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    paint(printer);
    return true;
}

} // namespace tallivo
