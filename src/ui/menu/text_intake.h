#pragma once

#include <QObject>

class QAction;
class QMimeData;

namespace tallivo {

class FMain;
struct PlatformServices;

// Texts and files that come into the main window without the Open dialog: a text pasted from
// the clipboard, a text or one file dropped on the window. Each is analysed as if it had been
// picked; what does not arrive changes nothing and is said so.
class TextIntake : public QObject {
    Q_OBJECT

public:
    // Takes the texts and files dropped on window from now on.
    TextIntake(FMain& window, const PlatformServices& services);

    // "Incolla testo" (Ctrl+V).
    QAction* pasteAction() const { return paste_; }

    // Analyses the clipboard's text.
    void Paste();

    // Analyses the text or the one file dropped.
    void Drop(const QMimeData* data);

private:
    void Tell(const QString& text);

    FMain& window_;
    const PlatformServices& services_;
    QAction* paste_;
};

} // namespace tallivo
