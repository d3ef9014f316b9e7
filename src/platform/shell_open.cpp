#include "shell_open.h"

#include <QDesktopServices>
#include <QUrl>

namespace tallivo {

void ShellOpen(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

} // namespace tallivo
