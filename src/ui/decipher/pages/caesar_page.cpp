#include "caesar_page.h"

#include "caesar_key.h"
#include "key_mapping.h"
#include "page_widgets.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>

namespace tallivo {

CaesarPage::CaesarPage(const PageContext&, QWidget* parent)
    : CipherPage(parent) {
    setObjectName(QStringLiteral("pagCesare"));
    spnSpostamento = MakeSpin(this, "spnSpostamento", QStringLiteral("Spostamento"), 0, 25);
    spnSpostamento->setWrapping(true);
    spnSpostamento->installEventFilter(this);
    cmdMigliorSpostamento =
        MakeButton(this, "cmdMigliorSpostamento", QStringLiteral("&Miglior spostamento"));
    tblSpostamenti =
        MakeTable(this, "tblSpostamenti", QStringLiteral("Chi quadrato per spostamento"),
                  {QStringLiteral("Spostamento"), QStringLiteral("Chi quadrato")});
    // The shift's column is as wide as "13 (n) — migliore" in the desktop's font, whatever its
    // size.
    tblSpostamenti->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    auto* form = new QFormLayout;
    form->addRow(MakeBuddyLabel(this, QStringLiteral("&Spostamento:"), spnSpostamento),
                 spnSpostamento);
    form->addRow(cmdMigliorSpostamento);
    auto* note = new QLabel(
        QStringLiteral("Lo spostamento applicato per cifrare: con 3, «d» torna «a». Le frecce "
                       "provano gli spostamenti uno per uno."),
        this);
    note->setWordWrap(true);
    form->addRow(note);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form, 1);
    layout->addWidget(tblSpostamenti, 1);

    connect(spnSpostamento, &QSpinBox::valueChanged, this, &CipherPage::keyChanged);
    connect(cmdMigliorSpostamento, &QPushButton::clicked, this, [this] {
        if (text_.text) {
            spnSpostamento->setValue(
                BestShift(ShiftChiSquares(text_.text->counts(), language_.table)));
        }
    });
    connect(tblSpostamenti, &QTableWidget::cellActivated, this,
            [this](int row, int) { spnSpostamento->setValue(row); });
}

void CaesarPage::SetText(const WorkText& text) {
    text_ = text;
    SetQuietly(spnSpostamento, 0);
    ShowChiSquares();
}

void CaesarPage::SetLanguage(const WorkLanguage& language) {
    language_ = language;
    ShowChiSquares();
}

void CaesarPage::ShowChiSquares() {
    if (!text_.text) {
        return;
    }
    const std::array<double, 26> chiSquares =
        ShiftChiSquares(text_.text->counts(), language_.table);
    const int best = BestShift(chiSquares);
    tblSpostamenti->setRowCount(26);
    for (int shift = 0; shift < 26; ++shift) {
        const QString name = QStringLiteral("%1 (%2)").arg(shift).arg(QChar('a' + shift));
        SetCell(tblSpostamenti, shift, 0,
                shift == best ? name + QStringLiteral(" — migliore") : name, shift == best);
        SetCell(tblSpostamenti, shift, 1, Decimal(chiSquares[std::size_t(shift)], 1),
                shift == best);
    }
    tblSpostamenti->scrollToItem(tblSpostamenti->item(best, 0));
}

std::shared_ptr<const LetterMapping> CaesarPage::Mapping() const {
    return std::make_shared<TableMapping>(ShiftTable(spnSpostamento->value()));
}

std::vector<std::int32_t> CaesarPage::PlainCounts() const {
    return text_.text ? ShiftedCounts(text_.text->counts(), spnSpostamento->value())
                      : std::vector<std::int32_t>(26, 0);
}

QString CaesarPage::KeyText() const {
    return QString::number(spnSpostamento->value());
}

std::optional<QString> CaesarPage::SetKeyText(const QString& key) {
    const Parsed<CaesarKey> parsed = CaesarKey::Parse(key.toStdString());
    if (!parsed.ok()) {
        return KeyErrorText(parsed.error(), QStringLiteral("Lo spostamento va da 0 a 25."));
    }
    spnSpostamento->setValue(parsed.key().shift());
    return std::nullopt;
}

std::string CaesarPage::Encrypt(std::string_view plain) const {
    std::string cipher;
    MapBytes(plain, CaesarKey(spnSpostamento->value()).EncryptTable(), cipher);
    return cipher;
}

void CaesarPage::RandomKey(std::mt19937_64& random, const KeyOptions&) {
    spnSpostamento->setValue(CaesarKey::Random(random).shift());
}

bool CaesarPage::eventFilter(QObject* watched, QEvent* event) {
    // Left and Right try the shifts one by one, as Up and Down do.
    if (watched == spnSpostamento && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right) {
            spnSpostamento->stepBy(key == Qt::Key_Right ? 1 : -1);
            return true;
        }
    }
    return CipherPage::eventFilter(watched, event);
}

} // namespace tallivo
