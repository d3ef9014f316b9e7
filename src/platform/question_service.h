#pragma once

#include <QString>

class QWidget;

namespace tallivo {

// A modal question with two answers: returns whether the user chose yes, the answer that does
// something; No is the default, so Enter does nothing. Tests hand the code a scripted one.
class QuestionService {
public:
    virtual ~QuestionService() = default;
    virtual bool Confirm(QWidget* parent, const QString& text, const QString& title,
                         const QString& yes) = 0;
};

// The platform's question box.
class QtQuestionService : public QuestionService {
public:
    bool Confirm(QWidget* parent, const QString& text, const QString& title,
                 const QString& yes) override;
};

} // namespace tallivo
