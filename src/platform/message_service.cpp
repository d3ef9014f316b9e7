#include "message_service.h"

#include <QMessageBox>

#include <cstdlib>

namespace tallivo {

void QtMessageService::ShowMessage(QWidget* parent, const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

void QtMessageService::EndProgram() {
    std::exit(EXIT_FAILURE);
}

} // namespace tallivo
