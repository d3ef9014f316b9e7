#include "fguida.h"

#include "shell_open.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tallivo {

namespace {

const QString kFolder = QStringLiteral(":/guide");
const QString kStart = QStringLiteral("index");
const QString kSampleScheme = QStringLiteral("tallivo");
const QString kSamplePrefix = QStringLiteral("esempio/");

QUrl PageUrl(const QString& page, const QString& anchor = {}) {
    QUrl url(QStringLiteral("qrc%1/%2.html").arg(kFolder, page));
    if (!anchor.isEmpty()) {
        url.setFragment(anchor);
    }
    return url;
}

} // namespace

FGuida::FGuida(QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FGuida"));
    setWindowTitle(QStringLiteral("Guida di Tallivo"));
    setAccessibleName(QStringLiteral("Guida di Tallivo"));

    txtGuida = new QTextBrowser(this);
    txtGuida->setObjectName(QStringLiteral("txtGuida"));
    txtGuida->setAccessibleName(QStringLiteral("Guida"));
    txtGuida->setOpenLinks(false);
    // The desktop's own font, not the small one the main window's fixed layout is drawn in.
    txtGuida->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));

    cmdIndietro = new QPushButton(QStringLiteral("&Indietro"), this);
    cmdIndietro->setObjectName(QStringLiteral("cmdIndietro"));
    cmdAvanti = new QPushButton(QStringLiteral("&Avanti"), this);
    cmdAvanti->setObjectName(QStringLiteral("cmdAvanti"));
    cmdSommario = new QPushButton(QStringLiteral("&Sommario"), this);
    cmdSommario->setObjectName(QStringLiteral("cmdSommario"));
    for (QPushButton* button : {cmdIndietro, cmdAvanti, cmdSommario}) {
        button->setAutoDefault(false);
    }
    cmdIndietro->setEnabled(false);
    cmdAvanti->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdIndietro);
    buttons->addWidget(cmdAvanti);
    buttons->addWidget(cmdSommario);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(txtGuida, 1);

    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto* shortcut = new QShortcut(keys, this);
        connect(shortcut, &QShortcut::activated, this, &QWidget::close);
    }
    connect(txtGuida, &QTextBrowser::anchorClicked, this, &FGuida::Follow);
    connect(txtGuida, &QTextBrowser::backwardAvailable, cmdIndietro, &QWidget::setEnabled);
    connect(txtGuida, &QTextBrowser::forwardAvailable, cmdAvanti, &QWidget::setEnabled);
    connect(cmdIndietro, &QPushButton::clicked, txtGuida, &QTextBrowser::backward);
    connect(cmdAvanti, &QPushButton::clicked, txtGuida, &QTextBrowser::forward);
    connect(cmdSommario, &QPushButton::clicked, this, [this] { ShowTopic({}); });

    resize(760, 640);
    ShowTopic({});
    txtGuida->setFocus();
}

void FGuida::ShowTopic(const QString& topic) {
    const QString page = topic.section(QLatin1Char('#'), 0, 0);
    if (page.isEmpty() || !QFile::exists(QStringLiteral("%1/%2.html").arg(kFolder, page))) {
        txtGuida->setSource(PageUrl(kStart));
        return;
    }
    txtGuida->setSource(PageUrl(page, topic.section(QLatin1Char('#'), 1)));
}

QList<QUrl> FGuida::Pages() {
    QList<QUrl> pages{PageUrl(kStart)};
    for (const QString& file :
         QDir(kFolder).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name)) {
        const QString page = file.chopped(5);
        if (page != kStart) {
            pages.append(PageUrl(page));
        }
    }
    return pages;
}

void FGuida::Follow(const QUrl& link) {
    if (link.scheme() == kSampleScheme) {
        if (link.path().startsWith(kSamplePrefix)) {
            emit sampleRequested(link.path().mid(kSamplePrefix.size()));
        }
        return;
    }
    const QUrl target = txtGuida->source().resolved(link);
    if (target.scheme() == QLatin1String("qrc")) {
        txtGuida->setSource(target);
    } else {
        ShellOpen(target.toString());
    }
}

} // namespace tallivo
