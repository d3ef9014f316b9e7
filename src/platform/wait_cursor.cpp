#include "wait_cursor.h"

#include <QApplication>
#include <QCursor>

namespace tallivo {

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

} // namespace tallivo
