#include "guide_opener.h"

#include "fguida.h"

#include <QAction>
#include <QApplication>
#include <QTabWidget>

#include <utility>

namespace tallivo {

namespace {

// The workbench's pages, by object name, and their sections of the guide.
const std::pair<const char*, const char*> kPages[] = {
    {"pagCesare", "cesare"},
    {"pagSostituzione", "sostituzione"},
    {"pagVigenere", "vigenere"},
    {"pagAffine", "affine"},
    {"pagBeaufort", "beaufort"},
    {"pagAutochiave", "autochiave"},
    {"pagTrasposizione", "trasposizione"},
    {"pagPlayfair", "playfair"},
    {"pagIdentificazione", "che-cifrario"},
};

} // namespace

GuideOpener::GuideOpener(QWidget& owner)
    : QObject(&owner)
    , owner_(owner) {}

void GuideOpener::AddHelpKey(QWidget* window) {
    auto* help = new QAction(window);
    help->setObjectName(QStringLiteral("actGuida"));
    help->setShortcut(QKeySequence(Qt::Key_F1));
    help->setShortcutContext(Qt::WindowShortcut);
    window->addAction(help);
    connect(help, &QAction::triggered, this, [this, window] { Show(TopicFor(window)); });
}

QString GuideOpener::TopicFor(const QWidget* window) {
    const QString name = window ? window->objectName() : QString();
    if (name == QLatin1String("FDecifra")) {
        const auto* tabs = window->findChild<const QTabWidget*>(QStringLiteral("tabModi"));
        const QWidget* page = tabs ? tabs->currentWidget() : nullptr;
        for (const auto& [pageName, anchor] : kPages) {
            // The page itself, or the page inside the scroll area the tab holds.
            if (page && (page->objectName() == QLatin1String(pageName) ||
                         page->findChild<const QWidget*>(QLatin1String(pageName)) != nullptr)) {
                return QStringLiteral("decifra#") + QLatin1String(anchor);
            }
        }
        return QStringLiteral("decifra");
    }
    if (name == QLatin1String("FStats")) {
        return QStringLiteral("finestra#statistiche");
    }
    if (name == QLatin1String("FInfo")) {
        return QStringLiteral("finestra#informazioni");
    }
    return QStringLiteral("finestra");
}

FGuida* GuideOpener::guide() const {
    return guide_;
}

void GuideOpener::Show(const QString& topic) {
    if (guide_ == nullptr) {
        guide_ = new FGuida(&owner_);
        guide_->setAttribute(Qt::WA_DeleteOnClose);
        connect(guide_, &FGuida::sampleRequested, this, &GuideOpener::sampleRequested);
    }
    // Over a modal window, only a modal guide takes input; a window's modality is set while it
    // is hidden.
    const QWidget* modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted =
        modal && modal != guide_ ? Qt::ApplicationModal : Qt::NonModal;
    if (guide_->windowModality() != wanted) {
        guide_->hide();
        guide_->setWindowModality(wanted);
    }
    guide_->ShowTopic(topic);
    guide_->show();
    guide_->raise();
    guide_->activateWindow();
}

} // namespace tallivo
