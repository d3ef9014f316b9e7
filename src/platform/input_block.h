#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

namespace tallivo {

// While it exists, the windows that were open when it began take no input: no key, click,
// wheel, shortcut, drag or context menu reaches them, as if a modal window stood over them,
// while they still repaint and answer the accessibility bus. Windows opened later (the
// progress window) take input as usual, and a window's close box still reaches it.
class InputBlock : public QObject {
    Q_OBJECT

public:
    InputBlock();
    ~InputBlock() override;

    InputBlock(const InputBlock&) = delete;
    InputBlock& operator=(const InputBlock&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsBlocked(QObject* receiver) const;

    QList<QPointer<QWidget>> blocked_;
};

} // namespace tallivo
