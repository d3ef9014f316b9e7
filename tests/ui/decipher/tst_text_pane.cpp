#include "text_pane.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
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
    void columnsOfALongLineWithTabs_data();
    void columnsOfALongLineWithTabs();
    void everyColumnOfALongLineCanBeReached();
    void theCaretNeverSplitsACharacter();
    void controlCharactersShowAndReadAsTheirSymbols();
    void aNewKeyKeepsThePlaceAndIsAnnouncedByWhatIsInView();

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

void TestTextPane::columnsOfALongLineWithTabs_data() {
    QTest::addColumn<QString>("line");
    // Tabs before, at and past the checkpoints of every 1024 characters.
    QString tabs;
    for (int i = 0; i < 5000; ++i) {
        tabs += i % 7 == 3 || i == 1023 || i == 1024 || i == 4097 ? QLatin1Char('\t')
                                                                  : QChar(u'a' + i % 26);
    }
    QTest::newRow("a long line with tabs") << tabs;
    QTest::newRow("a long line without a tab") << QString(3000, QLatin1Char('x'));
    QTest::newRow("a short line with tabs") << QStringLiteral("a\tbb\t\tc");
}

void TestTextPane::columnsOfALongLineWithTabs() {
    QFETCH(QString, line);
    // Two lines: the columns of the second are counted from its own start.
    pane_->SetText(QStringLiteral("x\t\n") + line);
    const qsizetype start = pane_->LineStart(1);
    qsizetype column = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        QCOMPARE(pane_->ColumnOf(start + i), column);
        if (i < line.size()) {
            // Any column a character covers leads back to that character.
            const qsizetype next = PaneText::NextColumn(line[i], column);
            QCOMPARE(pane_->OffsetOfColumn(1, next - 1), start + i);
            column = next;
        }
    }
    QCOMPARE(pane_->OffsetOfColumn(1, column + 100), start + line.size());
}

void TestTextPane::everyColumnOfALongLineCanBeReached() {
    // Far past a million columns, one line: Ctrl+End shows the caret.
    pane_->SetText(QString(3'000'000, QLatin1Char('q')) + QStringLiteral("fine"));
    QTest::keyClick(pane_, Qt::Key_End, Qt::ControlModifier);
    const QRect caret = pane_->CharacterRect(pane_->caret());
    QVERIFY(pane_->viewport()->rect().contains(caret.topLeft()));
    QCOMPARE(pane_->OffsetAt(caret.topLeft() + QPoint(1, 1)), pane_->caret());
}

void TestTextPane::theCaretNeverSplitsACharacter() {
    pane_->SetText(QStringLiteral("a😀b"));
    QTest::keyClick(pane_, Qt::Key_Right);
    QTest::keyClick(pane_, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(pane_->SelectedText(), QStringLiteral("😀"));
    QTest::keySequence(pane_, QKeySequence::Copy);
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("😀"));
    QTest::keyClick(pane_, Qt::Key_Left);
    QCOMPARE(pane_->caret(), 1);
    // Moved into the pair, the caret goes on past it the way it was going.
    pane_->SetCaret(2);
    QCOMPARE(pane_->caret(), 3);
    pane_->SetCaret(2);
    QCOMPARE(pane_->caret(), 1);
}

void TestTextPane::controlCharactersShowAndReadAsTheirSymbols() {
    QCOMPARE(TextPane::Shown(QChar(0)), QChar(0x2400));
    QCOMPARE(TextPane::Shown(QChar(0x1F)), QChar(0x241F));
    QCOMPARE(TextPane::Shown(QChar(0x7F)), QChar(0x2421));
    QCOMPARE(TextPane::Shown(QChar(u'·')), QChar(u'·'));
    pane_->SetText(QString::fromUtf16(u"a\u0000b\u001F\tc", 6));
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(pane_)->textInterface();
    QCOMPARE(text->characterCount(), 6);
    QCOMPARE(text->text(0, -1), QString::fromUtf16(u"a\u2400b\u241F\tc"));
    // Copied as it is.
    QTest::keySequence(pane_, QKeySequence::SelectAll);
    QCOMPARE(pane_->SelectedText().at(1), QChar(0));
}

void TestTextPane::aNewKeyKeepsThePlaceAndIsAnnouncedByWhatIsInView() {
    QString lines;
    for (int i = 0; i < 20000; ++i) {
        lines += QStringLiteral("riga %1 del testo\n").arg(i, 5, 10, QLatin1Char('0'));
    }
    pane_->SetText(lines);
    pane_->SetCaret(lines.indexOf(QStringLiteral("riga 10000")) + 3);
    const qsizetype caret = pane_->caret();
    const int scrolled = pane_->verticalScrollBar()->value();
    QVERIFY(scrolled > 9000);

    pane_->SetText(lines.toUpper(), true); // the same text under another key
    QCOMPARE(pane_->caret(), caret);
    QCOMPARE(pane_->verticalScrollBar()->value(), scrolled);
    // A screen reader hears of the lines in view, not of 440,000 characters.
    const TextPane::ViewChange& told = pane_->lastAnnounced();
    QCOMPARE(told.at, pane_->FirstVisibleOffset());
    QVERIFY(told.inserted.startsWith(QStringLiteral("RIGA ")));
    QCOMPARE(told.removed, told.inserted.toLower());
    QVERIFY(told.inserted.size() <= 4096);
    // A text of another length starts over.
    pane_->SetText(lines + QLatin1Char('!'), true);
    QCOMPARE(pane_->caret(), 0);
    QCOMPARE(pane_->verticalScrollBar()->value(), 0);
}

QTEST_MAIN(TestTextPane)
#include "tst_text_pane.moc"
