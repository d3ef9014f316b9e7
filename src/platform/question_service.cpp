#include "question_service.h"

#include <QMessageBox>
#include <QPushButton>

namespace tallivo {

bool QtQuestionService::Confirm(QWidget* parent, const QString& text, const QString& title,
                                const QString& yes) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton* accept = box.addButton(yes, QMessageBox::AcceptRole);
    QPushButton* keep = box.addButton(QStringLiteral("Annulla"), QMessageBox::RejectRole);
    box.setDefaultButton(keep);
    box.setEscapeButton(keep);
    box.exec();
    return box.clickedButton() == accept;
}

} // namespace tallivo
