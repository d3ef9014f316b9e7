#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace tallivo {

class FGuida;

// Opens the guide at the part about a window: the workbench's page in view, the statistics, the
// information window, the main window otherwise. F1 asks for it in each window given a help
// key. One guide at a time, raised when asked for again; over a modal window it is modal too,
// so it can be read and closed while that window waits. Made once, with the main window as the
// guide's owner.
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

    // Gives window F1, which shows the guide at the window's part of it.
    void AddHelpKey(QWidget* window);

    // The guide, once shown.
    FGuida* guide() const;

signals:
    // A sample link of the guide was followed (FGuida::sampleRequested).
    void sampleRequested(const QString& name);

private:
    QWidget& owner_;
    QPointer<FGuida> guide_;
};

} // namespace tallivo
