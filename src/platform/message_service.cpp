#include "message_service.h"

#include <QMessageBox>
#include <QPushButton>

#include <cstdlib>

namespace tallivo {

void QtMessageService::ShowMessage(QWidget* parent, const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

int QtMessageService::Ask(QWidget* parent, const QString& question, const QString& title,
                          const QStringList& answers) {
    QMessageBox box(QMessageBox::Question, title, question, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> buttons;
    for (const QString& answer : answers) {
        buttons << box.addButton(answer, QMessageBox::AcceptRole);
    }
    if (!buttons.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(buttons.front()));
    }
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

void QtMessageService::EndProgram() {
    std::exit(EXIT_FAILURE);
}

} // namespace tallivo
