#include "open_file_dialog.h"

#include "name_icon_provider.h"

#include <QFileDialog>

namespace tallivo {

QString QtOpenFileDialog::GetOpenFileName(QWidget* parent) {
    NameIconProvider icons;
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setIconProvider(&icons);
    if (dialog.exec() != QDialog::Accepted) {
        return QString();
    }
    return dialog.selectedFiles().value(0);
}

} // namespace tallivo
