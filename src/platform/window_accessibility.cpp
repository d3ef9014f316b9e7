#include "window_accessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace tallivo {

namespace {

QAccessibleInterface* MakeWindowInterface(const QString& className, QObject* object) {
    if ((className == QLatin1String("tallivo::FMain") ||
         className == QLatin1String("tallivo::FDecifra")) &&
        object->isWidgetType() && static_cast<QWidget*>(object)->isWindow()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    return nullptr;
}

} // namespace

void InstallWindowAccessibility() {
    // Installed once for the whole program.
    static const bool installed = [] {
        QAccessible::installFactory(&MakeWindowInterface);
        return true;
    }();
    (void)installed;
}

} // namespace tallivo
