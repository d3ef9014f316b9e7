#include "open_file_dialog.h"

#include <QFileDialog>

namespace tallivo {

QString QtOpenFileDialog::GetOpenFileName(QWidget* parent) {
    return QFileDialog::getOpenFileName(parent);
}

} // namespace tallivo
