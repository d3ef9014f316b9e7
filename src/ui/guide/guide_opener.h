#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace tallivo {

class FGuida;

// Opens the guide with F1 from any window of the program, at the part about that window: the
// workbench's page in view, the statistics, the information window, the main window otherwise.
// One guide at a time, raised when asked for again; over a modal window it is modal too, so it
// can be read and closed while that window waits. Made once, by the program's main(), with the
// main window as the guide's owner.
class GuideOpener : public QObject {
    Q_OBJECT

public:
    explicit GuideOpener(QWidget& owner);

    // Returns the guide's topic (see FGuida::ShowTopic) for a window of the program, known by
    // its object name: "FDecifra" (with its page in view, "pag<Nome>", in the tab widget
    // "tabModi"), "FStats", "FInfo"; the main window's for any other.
    static QString TopicFor(const QWidget* window);

    // Shows the guide at topic.
    void Show(const QString& topic);

    // The guide, once shown.
    FGuida* guide() const;

signals:
    // A sample link of the guide was followed (FGuida::sampleRequested).
    void sampleRequested(const QString& name);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& owner_;
    QPointer<FGuida> guide_;
};

} // namespace tallivo
