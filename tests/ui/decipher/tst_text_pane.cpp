#include "text_pane.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QTest>

using namespace tallivo;

class TestTextPane : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { delete pane_; }
    void linesEndBeforeTheirBreak();
    void caretMovesByLineKeepingItsColumn();
    void selectsAndCopies();
    void screenReaderReadsTheWholeText();

private:
    TextPane* pane_ = nullptr;
};

void TestTextPane::init() {
    pane_ = new TextPane;
    pane_->resize(300, 120);
    pane_->SetText(QStringLiteral("Prima riga\r\nsì\n\nultima, più lunga"));
    pane_->show();
    QVERIFY(QTest::qWaitForWindowExposed(pane_));
    pane_->setFocus();
}

void TestTextPane::linesEndBeforeTheirBreak() {
    QCOMPARE(pane_->LineCount(), 4);
    QCOMPARE(pane_->LineEnd(0), 10); // before "\r\n"
    QCOMPARE(pane_->LineStart(1), 12);
    QCOMPARE(pane_->LineStart(2), pane_->LineEnd(2)); // an empty line
    QCOMPARE(pane_->LineOf(11), 0);
    QCOMPARE(pane_->LineOf(12), 1);
    QCOMPARE(pane_->LineOf(int(pane_->text().size())), 3);
}

void TestTextPane::caretMovesByLineKeepingItsColumn() {
    QTest::keyClick(pane_, Qt::Key_End);
    QCOMPARE(pane_->caret(), 10);
    // Down to a shorter line stops at its end, then at the empty line's start.
    QTest::keyClick(pane_, Qt::Key_Down);
    QCOMPARE(pane_->caret(), 14);
    QTest::keyClick(pane_, Qt::Key_Down);
    QCOMPARE(pane_->caret(), 15);
    QTest::keyClick(pane_, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(pane_->caret(), pane_->text().size());
    QTest::keyClick(pane_, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(pane_->caret(), 0);
    QTest::keyClick(pane_, Qt::Key_Left);
    QCOMPARE(pane_->caret(), 0);
}

void TestTextPane::selectsAndCopies() {
    QTest::keyClick(pane_, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(pane_, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(pane_->SelectedText(), QStringLiteral("Pr"));
    QTest::keySequence(pane_, QKeySequence::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Pr"));
    QTest::keySequence(pane_, QKeySequence::SelectAll);
    QCOMPARE(pane_->SelectedText(), pane_->text());
    // A new text starts unselected, at its start.
    pane_->SetText(QStringLiteral("nuovo"));
    QCOMPARE(pane_->SelectedText(), QString());
    QCOMPARE(pane_->caret(), 0);
}

void TestTextPane::screenReaderReadsTheWholeText() {
    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(pane_);
    QVERIFY(pane != nullptr);
    QCOMPARE(pane->role(), QAccessible::EditableText);
    QVERIFY(pane->state().readOnly && pane->state().multiLine);
    QAccessibleTextInterface* text = pane->textInterface();
    QVERIFY(text != nullptr);
    QCOMPARE(text->characterCount(), int(pane_->text().size()));
    QCOMPARE(text->text(0, -1), pane_->text());
    int start = 0;
    int end = 0;
    QCOMPARE(text->textAtOffset(13, QAccessible::LineBoundary, &start, &end),
             QStringLiteral("sì\n"));
    QCOMPARE(text->textAfterOffset(13, QAccessible::LineBoundary, &start, &end),
             QStringLiteral("\n"));
    QCOMPARE(text->textAtOffset(24, QAccessible::WordBoundary, &start, &end),
             QStringLiteral("più"));
    QCOMPARE(text->textBeforeOffset(0, QAccessible::CharBoundary, &start, &end), QString());
    text->setCursorPosition(5);
    QCOMPARE(pane_->caret(), 5);
    QCOMPARE(text->cursorPosition(), 5);
}

QTEST_MAIN(TestTextPane)
#include "tst_text_pane.moc"
