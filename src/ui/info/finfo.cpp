#include "finfo.h"

#include "app_fonts.h"
#include "fixed_look.h"
#include "mcontactov.h"
#include "svg_icon.h"
#include "twips.h"
#include "window_centring.h"

#include <QCursor>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace tallivo {

namespace {

const QColor kBackground(0xFF, 0xFF, 0xC0);
const QColor kLinkColor(0, 0, 255);

// The description, the invitation and the disclaimer, as the window shows them.
const std::array<QString, 3> kTexts{
    QStringLiteral("Questo programma prodotto dalla Orvedel è FreeWare. E` stato creato a scopo "
                   "didattico per l'analisi della frequenza delle lettere nei testi ASCII, come "
                   "complemento alla trattazione sulle tecniche basilari di crittoanalisi."),
    QStringLiteral("Per leggere l'articolo e per informarti sui problemi legati alla protezione "
                   "dei dati, visita il sito Orvedel dove potrai documentarti e seguire la strada "
                   "che ritieni più adeguata alle tue esigenze."),
    QStringLiteral("Orvedel declina ogni responsabilità d'uso e danni che dovessero derivare "
                   "dall'uso improprio di questo programma creato a scopo didattico."),
};

const std::array<QRect, 3> kTextPlaces{
    TwipsRect(180, 210, 5595, 1185),
    TwipsRect(180, 1200, 5595, 705),
    TwipsRect(180, 2010, 5595, 705),
};

// The gloved hand that points left, its hot spot at the tip of the index finger.
QCursor HandPointer() {
    return QCursor(PixmapFromSvg(QStringLiteral(":/images/hand.svg"), 32), 1, 9);
}

QFont LinkFont() {
    // MS Sans Serif where installed, the user-interface family in its place elsewhere.
    QFont font = FixedFont(QStringLiteral("MS Sans Serif"), 12.0);
    font.setBold(true);
    font.setUnderline(true);
    return font;
}

} // namespace

FInfo::FInfo(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FInfo"));
    setWindowTitle(QStringLiteral("Informazioni"));
    setWindowIcon(QIcon()); // the platform's default icon, not the main window's chart
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(TwipsToPixels(5850), TwipsToPixels(3330));
    // Dark text on the fixed pale yellow and the fonts the layout was drawn for, whatever the
    // desktop's theme and font size.
    FixColours(this, kBackground);
    FixFont(this, 8.0);
    setWindowModality(Qt::ApplicationModal);

    cmdChiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    cmdChiudi->setObjectName(QStringLiteral("cmdChiudi"));
    cmdChiudi->setGeometry(TwipsRect(4740, 2850, 765, 375));
    cmdChiudi->setAutoDefault(false);
    cmdChiudi->setDefault(false);

    for (int i = 0; i < 3; ++i) {
        Label1[i] = new QLabel(kTexts[i], this);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        Label1[i]->setGeometry(kTextPlaces[i]);
        Label1[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Label1[i]->setWordWrap(true);
        Label1[i]->setTextFormat(Qt::PlainText);
    }
    QFont disclaimer = FixedFont(QStringLiteral("Arial"), 8.25);
    disclaimer.setItalic(true);
    Label1[2]->setFont(disclaimer);

    lblWeb = new QLabel(MContactOV::WebHost(), this);
    lblWeb->setObjectName(QStringLiteral("lblWeb"));
    lblWeb->setGeometry(TwipsRect(420, 2820, 2325, 315));
    lblWeb->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblWeb->setTextFormat(Qt::PlainText);
    lblWeb->setFont(LinkFont());
    QPalette linkColours = lblWeb->palette();
    linkColours.setColor(QPalette::WindowText, kLinkColor);
    lblWeb->setPalette(linkColours);
    lblWeb->setCursor(HandPointer());
    lblWeb->installEventFilter(this);

    cmdChiudi->setFocus();
    connect(cmdChiudi, &QPushButton::clicked, this, &FInfo::cmdChiudi_Click);
}

void FInfo::cmdChiudi_Click() {
    close();
}

void FInfo::lblWeb_Click() {
    MContactOV::OpenWebSite();
}

void FInfo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreNowAndWhenFramed(this);
}

void FInfo::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Enter:
    case Qt::Key_Return:
        event->accept(); // no default and no cancel button
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool FInfo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblWeb && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        lblWeb->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        lblWeb_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tallivo
