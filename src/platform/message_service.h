#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace tallivo {

// A modal message box with an OK button only, a question with its answers as buttons, and the
// end of the program. Tests hand the
// code a recording one, so the fatal paths run without a box and without the test dying.
class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows text under title and returns when the user dismisses it.
    virtual void ShowMessage(QWidget* parent, const QString& text, const QString& title) = 0;
    // Asks question under title with answers as its buttons (the first the default) and returns
    // the index of the one chosen, or -1 if the user closes the question without answering.
    virtual int Ask(QWidget* parent, const QString& question, const QString& title,
                    const QStringList& answers) {
        (void)parent, (void)question, (void)title, (void)answers;
        return -1;
    }
    // Ends the program at once; only a test's replacement returns.
    virtual void EndProgram() = 0;
};

// The platform's message box, and an immediate exit.
class QtMessageService : public MessageService {
public:
    void ShowMessage(QWidget* parent, const QString& text, const QString& title) override;
    int Ask(QWidget* parent, const QString& question, const QString& title,
            const QStringList& answers) override;
    [[noreturn]] void EndProgram() override;
};

} // namespace tallivo
