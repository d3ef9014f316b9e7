#include "name_icon_provider.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>

namespace tallivo {

QIcon NameIconProvider::icon(IconType type) const {
    return QFileIconProvider::icon(type);
}

QIcon NameIconProvider::icon(const QFileInfo& info) const {
    // The kind comes from the entry itself (a stat), which never opens it.
    if (info.isDir()) {
        return QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    }
    return QApplication::style()->standardIcon(info.isSymLink() ? QStyle::SP_FileLinkIcon
                                                                : QStyle::SP_FileIcon);
}

QString NameIconProvider::type(const QFileInfo& info) const {
    if (info.isDir()) {
        return QStringLiteral("Cartella");
    }
    if (!info.isFile()) {
        return QStringLiteral("File speciale");
    }
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("File") : QStringLiteral("File %1").arg(suffix);
}

} // namespace tallivo
