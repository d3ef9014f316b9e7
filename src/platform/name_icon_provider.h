#pragma once

#include <QFileIconProvider>

namespace tallivo {

// Icons and type names for the Open dialog's list decided by the name and the kind of entry
// alone, never by reading a file: the default provider reads the start of each file to guess
// its type, and hangs on one whose read never ends (/proc/kmsg, a FIFO).
class NameIconProvider : public QFileIconProvider {
public:
    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

} // namespace tallivo
