#include "substitution_page.h"

#include "key_mapping.h"
#include "key_slots.h"
#include "page_widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tallivo {

SubstitutionPage::SubstitutionPage(const PageContext&, QWidget* parent)
    : CipherPage(parent) {
    setObjectName(QStringLiteral("pagSostituzione"));
    grdChiave = new KeySlots(this);
    grdChiave->setObjectName(QStringLiteral("grdChiave"));
    grdChiave->setAccessibleName(QStringLiteral("Lettere in chiaro per lettera cifrata"));
    txtChiaveSostituzione =
        MakeLine(this, "txtChiaveSostituzione", QStringLiteral("Chiave di sostituzione"));
    txtChiaveSostituzione->setText(QString::fromStdString(grdChiave->key().Text()));
    lblSuggerimento = MakeHint(this, "lblSuggerimento");
    cmdProponi = MakeButton(this, "cmdProponi", QStringLiteral("&Proponi per frequenza"));
    cmdAzzera = MakeButton(this, "cmdAzzera", QStringLiteral("A&zzera chiave"));
    auto* keyRow = new QHBoxLayout;
    keyRow->addWidget(
        MakeBuddyLabel(this, QStringLiteral("&Chiave di sostituzione:"), txtChiaveSostituzione));
    keyRow->addWidget(txtChiaveSostituzione, 1);
    keyRow->addWidget(cmdProponi);
    keyRow->addWidget(cmdAzzera);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(MakeBuddyLabel(
        this, QStringLiteral("L&ettera in chiaro per ogni lettera cifrata (A–Z):"), grdChiave));
    layout->addWidget(grdChiave);
    layout->addLayout(keyRow);
    layout->addWidget(lblSuggerimento);
    layout->addStretch(1);

    connect(grdChiave, &KeySlots::edited, this, [this] {
        txtChiaveSostituzione->setText(QString::fromStdString(grdChiave->key().Text()));
        lblSuggerimento->clear();
        emit keyChanged();
    });
    connect(txtChiaveSostituzione, &QLineEdit::textEdited, this, &SubstitutionPage::ReadKeyLine);
    connect(cmdProponi, &QPushButton::clicked, this, [this] {
        if (text_.text) {
            ShowKey(SubstitutionKey::ByFrequency(text_.text->counts(), language_.table));
        }
    });
    connect(cmdAzzera, &QPushButton::clicked, this, [this] { ShowKey(SubstitutionKey()); });
}

void SubstitutionPage::ReadKeyLine(const QString& text) {
    // Only 26 characters, each an ASCII letter or ".", make a key; anything else keeps the key
    // in use and says why.
    const QByteArray latin = text.toLatin1();
    const std::optional<SubstitutionKey> key = QString::fromLatin1(latin) == text
                                                   ? SubstitutionKey::FromText(latin.toStdString())
                                                   : std::nullopt;
    if (!key) {
        // Characters as the student sees them: one for a character outside the BMP too.
        const qsizetype characters = text.toUcs4().size();
        lblSuggerimento->setText(
            characters != 26
                ? QStringLiteral("La chiave ha %1: ne servono 26, la lettera in chiaro per a, "
                                 "b, … z, con «.» per una lettera non assegnata. La chiave in "
                                 "uso non cambia.")
                      .arg(characters == 1 ? QStringLiteral("1 carattere")
                                           : QStringLiteral("%1 caratteri").arg(characters))
                : QStringLiteral("Solo lettere a–z e «.» per una lettera non assegnata. La "
                                 "chiave in uso non cambia."));
        return;
    }
    lblSuggerimento->clear();
    grdChiave->SetKey(*key);
    emit keyChanged();
}

void SubstitutionPage::ShowKey(const SubstitutionKey& key) {
    grdChiave->SetKey(key);
    txtChiaveSostituzione->setText(QString::fromStdString(key.Text()));
    lblSuggerimento->clear();
    emit keyChanged();
}

void SubstitutionPage::SetText(const WorkText& text) {
    text_ = text;
    grdChiave->SetKey(SubstitutionKey());
    txtChiaveSostituzione->setText(QString::fromStdString(SubstitutionKey().Text()));
    lblSuggerimento->clear();
}

void SubstitutionPage::SetLanguage(const WorkLanguage& language) {
    language_ = language;
}

std::shared_ptr<const LetterMapping> SubstitutionPage::Mapping() const {
    return std::make_shared<TableMapping>(SubstitutionTable(grdChiave->key(), text_.unassigned));
}

std::vector<std::int32_t> SubstitutionPage::PlainCounts() const {
    return text_.text ? SubstitutedCounts(text_.text->counts(), grdChiave->key())
                      : std::vector<std::int32_t>(26, 0);
}

std::optional<QString> SubstitutionPage::SetKeyText(const QString& key) {
    const QByteArray latin = key.toLatin1();
    const std::optional<SubstitutionKey> parsed =
        QString::fromLatin1(latin) == key ? SubstitutionKey::FromText(latin.toStdString())
                                          : std::nullopt;
    if (!parsed) {
        return KeyErrorText(KeyError::WrongLength,
                            QStringLiteral("La chiave ha 26 caratteri: la lettera in chiaro per a, "
                                           "b, … z, con «.» per una lettera non assegnata."));
    }
    ShowKey(*parsed);
    return std::nullopt;
}

std::string SubstitutionPage::Encrypt(std::string_view plain) const {
    // The key gives the plaintext letter of each cipher letter: enciphering goes the other way.
    std::string cipher;
    MapBytes(plain, SubstitutionTable(grdChiave->key().Inverse(), text_.unassigned), cipher);
    return cipher;
}

void SubstitutionPage::RandomKey(std::mt19937_64& random, const KeyOptions&) {
    ShowKey(SubstitutionKey::Random(random));
}

QString SubstitutionPage::KeyText() const {
    return QString::fromStdString(grdChiave->key().Text());
}

} // namespace tallivo
