#pragma once

#include <QListWidget>
#include <QStringList>
#include <QWidget>

// Returns the lines of the report list lstFreq in window.
inline QStringList ReportListLines(const QWidget* window) {
    auto* list = window->findChild<QListWidget*>(QStringLiteral("lstFreq"));
    QStringList lines;
    for (int row = 0; row < list->count(); ++row) {
        lines << list->item(row)->text();
    }
    return lines;
}

// The report of "aaab": "A = 3  (75%)", "B = 1  (25%)", then the 24 letters without
// occurrences and the total.
inline QStringList AaabReport() {
    QStringList lines{QStringLiteral("A = 3  (75%)"), QStringLiteral("B = 1  (25%)")};
    for (char c = 'C'; c <= 'Z'; ++c) {
        lines << QStringLiteral("%1 = 0  (0%)").arg(QLatin1Char(c));
    }
    lines << QStringLiteral("Tot. caratteri= 4");
    return lines;
}
