#include "guide_opener.h"

#include "fguida.h"

#include <QApplication>
#include <QKeyEvent>
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
    {"pagCheCifrario", "che-cifrario"},
};

} // namespace

GuideOpener::GuideOpener(QWidget& owner)
    : QObject(&owner)
    , owner_(owner) {
    qApp->installEventFilter(this);
}

QString GuideOpener::TopicFor(const QWidget* window) {
    const QString name = window ? window->objectName() : QString();
    if (name == QLatin1String("FDecifra")) {
        const auto* tabs = window->findChild<const QTabWidget*>(QStringLiteral("tabModi"));
        const QWidget* page = tabs ? tabs->currentWidget() : nullptr;
        for (const auto& [pageName, anchor] : kPages) {
            if (page && page->objectName() == QLatin1String(pageName)) {
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

bool GuideOpener::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress ||
        !static_cast<QKeyEvent*>(event)->matches(QKeySequence::HelpContents)) {
        return false;
    }
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget == nullptr) {
        return false;
    }
    const QWidget* window = widget->window();
    if (window != guide_) {
        Show(TopicFor(window));
    }
    return true;
}

} // namespace tallivo
