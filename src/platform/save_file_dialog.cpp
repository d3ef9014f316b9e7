#include "save_file_dialog.h"

#include "name_icon_provider.h"

#include <QFileDialog>

namespace tallivo {

QString QtSaveFileDialog::GetSaveFileName(QWidget* parent, const QString& suggested,
                                          const QString& filter) {
    NameIconProvider icons;
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setIconProvider(&icons);
    dialog.setNameFilter(filter);
    dialog.selectFile(suggested);
    // The platform's question before a file is replaced stays on.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted) {
        return QString();
    }
    return dialog.selectedFiles().value(0);
}

} // namespace tallivo
