#include "mcontactov.h"

#include "shell_open.h"

namespace tallivo::MContactOV {

QString WebHost() {
    return QStringLiteral(TALLIVO_WEB_HOST);
}

QString WebAddress() {
    return QStringLiteral("http://") + WebHost();
}

void OpenWebSite() {
    ShellOpen(WebAddress());
}

} // namespace tallivo::MContactOV
