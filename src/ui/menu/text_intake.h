#pragma once

#include <QObject>

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
    TextIntake(FMain& window, const PlatformServices& services);

    // Analyses the clipboard's text.
    void Paste();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Drop(const QMimeData* data);
    void Tell(const QString& text);

    FMain& window_;
    const PlatformServices& services_;
};

} // namespace tallivo
