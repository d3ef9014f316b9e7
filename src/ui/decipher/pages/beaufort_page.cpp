#include "beaufort_page.h"

#include "page_widgets.h"

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
    const PeriodicSense kept = Sense();
    {
        const QSignalBlocker quiet(cboVerso);
        cboVerso->setCurrentIndex(sense == PeriodicSense::VariantBeaufort ? 1 : 0);
    }
    if (sense != kept) {
        const QSignalBlocker quiet(this);
        SetSense(sense);
    }
    std::optional<QString> error = TakeKeyword(keyword);
    if (error) {
        const QSignalBlocker quietBox(cboVerso);
        cboVerso->setCurrentIndex(kept == PeriodicSense::VariantBeaufort ? 1 : 0);
        const QSignalBlocker quiet(this);
        SetSense(kept);
        return QStringLiteral("%1 Per la variante: «variante:» davanti alla parola chiave.")
            .arg(*error);
    }
    return std::nullopt;
}

} // namespace tallivo
