#include "beaufort_page.h"

#include "page_widgets.h"
#include "periodic_key.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace tallivo {

namespace {

constexpr QLatin1String kVariant("variante:");
constexpr QLatin1String kBeaufort("beaufort:");

} // namespace

BeaufortPage::BeaufortPage(const PageContext& context, QWidget* parent)
    : VigenerePage(context, PeriodicSense::Beaufort, parent) {
    cboVerso = new QComboBox(this);
    cboVerso->setObjectName(QStringLiteral("cboVerso"));
    cboVerso->setAccessibleName(QStringLiteral("Beaufort o variante"));
    cboVerso->addItem(QStringLiteral("Beaufort: cifrata = chiave − chiaro"));
    cboVerso->addItem(QStringLiteral("Variante: cifrata = chiaro − chiave"));
    Form()->insertRow(0, MakeBuddyLabel(this, QStringLiteral("&Beaufort o variante:"), cboVerso),
                      cboVerso);
    connect(cboVerso, &QComboBox::currentIndexChanged, this, [this](int index) {
        SetSense(index == 1 ? PeriodicSense::VariantBeaufort : PeriodicSense::Beaufort);
    });
}

QString BeaufortPage::KeyText() const {
    const QString keyword = VigenerePage::KeyText();
    return Sense() == PeriodicSense::VariantBeaufort ? kVariant + keyword : keyword;
}

std::optional<QString> BeaufortPage::SetKeyText(const QString& key) {
    QString keyword = key.trimmed();
    PeriodicSense sense = PeriodicSense::Beaufort;
    if (keyword.startsWith(kVariant, Qt::CaseInsensitive)) {
        keyword = keyword.mid(kVariant.size()).trimmed();
        sense = PeriodicSense::VariantBeaufort;
    } else if (keyword.startsWith(kBeaufort, Qt::CaseInsensitive)) {
        keyword = keyword.mid(kBeaufort.size()).trimmed();
    }
    // The keyword is checked before the sense changes: a bad key changes nothing.
    const QString variant =
        QStringLiteral("Per la variante, «variante:» davanti alla parola chiave (variante:leone).");
    if (!PeriodicKey::Parse(sense, keyword.toStdString()).ok()) {
        return TakeKeyword(keyword, variant);
    }
    {
        const QSignalBlocker quiet(cboVerso);
        cboVerso->setCurrentIndex(sense == PeriodicSense::VariantBeaufort ? 1 : 0);
    }
    if (sense != Sense()) {
        const QSignalBlocker quiet(this); // one keyChanged, for the keyword, follows
        SetSense(sense);
    }
    return TakeKeyword(keyword, variant);
}

} // namespace tallivo
