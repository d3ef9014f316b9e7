#pragma once

#include <QString>

class QWidget;

namespace tallivo {

// A modal message box with an OK button only, and the end of the program. Tests hand the
// code a recording one, so the fatal paths run without a box and without the test dying.
class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows text under title and returns when the user dismisses it.
    virtual void ShowMessage(QWidget* parent, const QString& text, const QString& title) = 0;
    // Ends the program at once; only a test's replacement returns.
    virtual void EndProgram() = 0;
};

// The platform's message box, and an immediate exit.
class QtMessageService : public MessageService {
public:
    void ShowMessage(QWidget* parent, const QString& text, const QString& title) override;
    [[noreturn]] void EndProgram() override;
};

} // namespace tallivo
