#pragma once

#include <QAction>
#include <QKeySequence>

namespace tallivo {

// Returns an item of the report's menu, named for the tests and with its shortcut.
inline QAction* MakeMenuAction(QObject* parent, const char* name, const QString& text,
                               const QKeySequence& shortcut = {}) {
    auto* action = new QAction(text, parent);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

} // namespace tallivo
