#include "fstats.h"

#include "window_centring.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tallivo {

FStats::FStats(const QStringList& lines, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FStats"));
    setWindowTitle(QStringLiteral("Statistiche"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        auto* line = new QLabel(lines[i], this);
        line->setObjectName(QStringLiteral("lblStat%1").arg(i));
        line->setTextFormat(Qt::PlainText);
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // Headings ("Bigrammi più frequenti:") stand out; their n-grams are indented.
        if (lines[i].endsWith(QLatin1Char(':'))) {
            QFont heading = line->font();
            heading.setBold(true);
            line->setFont(heading);
        } else if (i > 0 && !lines[i].contains(QLatin1Char(':'))) {
            line->setIndent(16);
        }
        layout->addWidget(line);
    }
    layout->addSpacing(8);

    cmdChiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    cmdChiudi->setObjectName(QStringLiteral("cmdChiudi"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdChiudi);
    layout->addLayout(buttons);
    cmdChiudi->setFocus();
    connect(cmdChiudi, &QPushButton::clicked, this, &QDialog::accept);
    setAccessibleDescription(lines.join(QLatin1Char('\n')));
}

void FStats::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreNowAndWhenFramed(this);
}

} // namespace tallivo
