#include "app_fonts.h"
#include "fake_services.h"
#include "fmain.h"
#include "picture_area.h"
#include "window_accessibility.h"

#include <QAccessible>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

using namespace tallivo;

class TestFMainLayout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        InstallUiFont();
        InstallWindowAccessibility(); // as the program does before it makes its windows
    }
    void init();
    void cleanup();
    void controlsStandWhereTheTableSays_data();
    void controlsStandWhereTheTableSays();
    void letterColumnsAndLabels();
    void startsEmptyWithScaleX1();
    void focusVisitsTheControlsInOrder_data();
    void focusVisitsTheControlsInOrder();
    void windowIsFixedCentredAndCaptioned();
    void texts_data();
    void texts();
    void cmdEsciClosesTheWindow();
    void keepsItsLookUnderADarkThemeAndALargeFont();
    void shortcutsAndTheScreenReadersView();

private:
    FakeServices* fakes_ = nullptr;
    FMain* window_ = nullptr;
};

void TestFMainLayout::init() {
    fakes_ = new FakeServices;
    window_ = new FMain(fakes_->services, fakes_->counter, fakes_->model);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void TestFMainLayout::cleanup() {
    delete window_;
    delete fakes_;
}

void TestFMainLayout::controlsStandWhereTheTableSays_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");

    QTest::newRow("cmdHelp") << "cmdHelp" << QRect(336, 329, 55, 25);
    QTest::newRow("cmdEsci") << "cmdEsci" << QRect(336, 360, 55, 25);
    QTest::newRow("cmdBrowse") << "cmdBrowse" << QRect(336, 298, 55, 25);
    QTest::newRow("fraScala") << "fraScala" << QRect(10, 266, 111, 127);
    QTest::newRow("lstFreq") << "lstFreq" << QRect(130, 272, 183, 121);
    QTest::newRow("Label1") << "Label1" << QRect(86, 48, 323, 17);
    QTest::newRow("Image2") << "Image2" << QRect(120, 22, 199, 20);
    QTest::newRow("Image1") << "Image1" << QRect(4, 2, 83, 68);
    QTest::newRow("opt0") << "opt0" << QRect(8, 24, 39, 17);
    QTest::newRow("opt1") << "opt1" << QRect(8, 51, 39, 17);
    QTest::newRow("opt2") << "opt2" << QRect(8, 75, 39, 17);
    QTest::newRow("opt3") << "opt3" << QRect(8, 100, 39, 17);
    QTest::newRow("opt4") << "opt4" << QRect(64, 24, 39, 17);
    QTest::newRow("opt5") << "opt5" << QRect(64, 49, 39, 17);
    QTest::newRow("opt6") << "opt6" << QRect(64, 73, 39, 17);
    QTest::newRow("opt7") << "opt7" << QRect(64, 98, 39, 17);
    QTest::newRow("picLett0") << "picLett0" << QRect(8, 72, 11, 181);
    QTest::newRow("picLett13") << "picLett13" << QRect(208, 72, 11, 181);
    QTest::newRow("picLett25") << "picLett25" << QRect(393, 72, 11, 181);
}

void TestFMainLayout::controlsStandWhereTheTableSays() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    auto* control = window_->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->geometry(), place);
    QVERIFY(control->isVisible());
}

void TestFMainLayout::letterColumnsAndLabels() {
    // Left of column i in twips, from the layout's table.
    const int lefts[26] = {120,  345,  585,  810,  1050, 1275, 1500, 1740, 1965,
                           2205, 2430, 2655, 2895, 3120, 3360, 3585, 3810, 4050,
                           4275, 4515, 4740, 4965, 5205, 5430, 5670, 5895};
    for (int i = 0; i < 26; ++i) {
        auto* pic = window_->findChild<PictureArea*>(QStringLiteral("picLett%1").arg(i));
        QVERIFY(pic != nullptr);
        QCOMPARE(pic->geometry(), QRect(lefts[i] / 15, 72, 11, 181));
        QCOMPARE(pic->InnerArea()->geometry(), QRect(2, 2, 7, 177));
        auto* label = pic->findChild<QLabel*>(QStringLiteral("lblLett%1").arg(i));
        QVERIFY(label != nullptr);
        QCOMPARE(label->text(), QString(QChar(char16_t(u'a' + i))));
        // Placed from the inner area's corner, over the whole width of the picture, border and
        // all, so that no letter is cut at the inner edge.
        QCOMPARE(label->geometry().translated(-pic->contentsRect().topLeft()),
                 QRect(-2, 164, 11, 15));
        QCOMPARE(label->geometry().left(), 0);
        QCOMPARE(label->width(), pic->width());
        QVERIFY(label->alignment() & Qt::AlignHCenter);
        QVERIFY(!label->autoFillBackground());
    }
}

void TestFMainLayout::startsEmptyWithScaleX1() {
    QCOMPARE(window_->findChild<QListWidget*>(QStringLiteral("lstFreq"))->count(), 0);
    const auto options = window_->findChildren<QRadioButton*>();
    QCOMPARE(options.size(), 8);
    int checked = 0;
    for (QRadioButton* option : options) {
        checked += option->isChecked() ? 1 : 0;
    }
    QCOMPARE(checked, 1);
    QVERIFY(window_->findChild<QRadioButton*>(QStringLiteral("opt0"))->isChecked());
    QVERIFY(window_->letterCounts().empty());
    QCOMPARE(window_->totalLetters(), 0);
    QCOMPARE(window_->scaleIndex(), std::int16_t{0});
    // Every bar blank: the drawing is all background.
    for (auto* pic : window_->findChildren<PictureArea*>()) {
        const QImage& drawing = pic->Drawing();
        for (int y = 0; y < drawing.height(); ++y) {
            QCOMPARE(drawing.pixelColor(3, y), pic->BackColor());
        }
    }
}

void TestFMainLayout::focusVisitsTheControlsInOrder_data() {
    QTest::addColumn<int>("checked");
    QTest::newRow("x 1 at start") << 0;
    QTest::newRow("x 6 chosen") << 5;
    QTest::newRow("x 2 chosen") << 1;
}

void TestFMainLayout::focusVisitsTheControlsInOrder() {
    // The scale options are one stop: the checked option, whichever it is.
    QFETCH(int, checked);
    QTest::mouseClick(window_->findChild<QRadioButton*>(QStringLiteral("opt%1").arg(checked)),
                      Qt::LeftButton, {}, QPoint(6, 8));
    QStringList expected{QStringLiteral("lstFreq"), QStringLiteral("cmdBrowse")};
    for (int i = 0; i < 26; ++i) {
        expected << QStringLiteral("picLett%1").arg(i);
    }
    expected << QStringLiteral("opt%1").arg(checked) << QStringLiteral("cmdEsci")
             << QStringLiteral("cmdHelp");

    QWidget* list = window_->findChild<QWidget*>(QStringLiteral("lstFreq"));
    list->setFocus();
    QStringList visited;
    do {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    } while (QApplication::focusWidget() != list && visited.size() < 100);
    QCOMPARE(visited, expected);

    // Shift+Tab from "Chiudi" comes back to the checked option, and an arrow key moves the
    // choice within the group.
    QWidget* close = window_->findChild<QWidget*>(QStringLiteral("cmdEsci"));
    close->setFocus();
    QTest::keyClick(close, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("opt%1").arg(checked));
    QTest::keyClick(QApplication::focusWidget(), checked < 4 ? Qt::Key_Right : Qt::Key_Left);
    auto* now = qobject_cast<QRadioButton*>(QApplication::focusWidget());
    QVERIFY(now != nullptr && now->isChecked() && now->objectName() != expected[28]);
    QCOMPARE(window_->scaleIndex(), std::int16_t(now->objectName().mid(3).toInt()));
}

void TestFMainLayout::windowIsFixedCentredAndCaptioned() {
    QCOMPARE(window_->windowTitle(), QStringLiteral("Tallivo"));
    QCOMPARE(window_->size(), QSize(412, 403));
    QCOMPARE(window_->minimumSize(), window_->maximumSize());
    QCOMPARE(window_->palette().color(QPalette::Window), QColor(0xE7, 0xE1, 0xD1));
    // Inside the frame "Scala", between the options, the window's own background; its line
    // is still drawn, darker, along the left edge.
    const QImage shown = window_->grab().toImage();
    QCOMPARE(shown.pixelColor(10 + 55, 266 + 60), QColor(0xE7, 0xE1, 0xD1));
    QCOMPARE(shown.pixelColor(10 + 108, 266 + 120), QColor(0xE7, 0xE1, 0xD1));
    bool line = false;
    for (int x = 10; x < 16; ++x) {
        line = line || shown.pixelColor(x, 266 + 60).lightness() <
                           QColor(0xE7, 0xE1, 0xD1).lightness() - 16;
    }
    QVERIFY(line);
    const QRect screen = window_->screen()->geometry();
    const QRect outer = window_->frameGeometry();
    QCOMPARE(outer.left() - screen.left(), (screen.width() - outer.width()) / 2);
    QCOMPARE(outer.top() - screen.top(), (screen.height() - outer.height()) / 2);
    for (auto* button : window_->findChildren<QPushButton*>()) {
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
        QVERIFY(!button->text().contains(QLatin1Char('&')));
    }
    auto* title = window_->findChild<QLabel*>(QStringLiteral("Label1"));
    QCOMPARE(title->palette().color(QPalette::WindowText), QColor(0x80, 0x80, 0xFF));
    QVERIFY(title->font().bold());
    QCOMPARE(title->font().pixelSize(), 13); // 9.75 points at 96 dots per inch
    // The title fits its box.
    QVERIFY(title->fontMetrics().horizontalAdvance(title->text()) <= title->width());
}

void TestFMainLayout::texts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("cmdBrowse") << "cmdBrowse"
                               << "Sfoglia";
    QTest::newRow("cmdHelp") << "cmdHelp"
                             << "Info";
    QTest::newRow("cmdEsci") << "cmdEsci"
                             << "Chiudi";
    QTest::newRow("opt0") << "opt0"
                          << "x 1";
    QTest::newRow("opt7") << "opt7"
                          << "x 8";
    QTest::newRow("Label1") << "Label1"
                            << "Analisi della frequenza delle lettere nei files";
}

void TestFMainLayout::texts() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    QObject* control = window_->findChild<QObject*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->property("text").toString(), text);
    if (name == QLatin1String("Label1")) {
        return;
    }
    auto* widget = qobject_cast<QWidget*>(control);
    QVERIFY(widget->fontMetrics().horizontalAdvance(text) + 8 <= widget->width());
}

void TestFMainLayout::cmdEsciClosesTheWindow() {
    QTest::mouseClick(window_->findChild<QPushButton*>(QStringLiteral("cmdEsci")), Qt::LeftButton);
    QVERIFY(!window_->isVisible());
}

void TestFMainLayout::keepsItsLookUnderADarkThemeAndALargeFont() {
    // A desktop with a dark theme and a 14-point font, as a window made afterwards finds it.
    const QPalette light = QApplication::palette();
    const QFont usual = QApplication::font();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(50, 50, 50));
    dark.setColor(QPalette::WindowText, QColor(240, 240, 240));
    dark.setColor(QPalette::Button, QColor(60, 60, 60));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(220, 220, 220));
    QApplication::setPalette(dark);
    QFont large = usual;
    large.setPointSizeF(14.0);
    QApplication::setFont(large);
    FMain window(fakes_->services, fakes_->counter, fakes_->model);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // On the fixed background, dark text: the frame, its options and the window itself.
    const QColor background(0xE7, 0xE1, 0xD1);
    for (QWidget* fixed : QList<QWidget*>{&window, window.findChild<QGroupBox*>("fraScala"),
                                          window.findChild<QRadioButton*>("opt3")}) {
        QCOMPARE(fixed->palette().color(QPalette::Window), background);
        QVERIFY2(fixed->palette().color(QPalette::WindowText).lightness() < 64,
                 qPrintable(fixed->objectName()));
    }
    // The letters stand on the platform's button face in its button text; the list and the
    // buttons follow the theme.
    auto* letter = window.findChild<QLabel*>(QStringLiteral("lblLett12"));
    QCOMPARE(letter->palette().color(QPalette::WindowText), QColor(230, 230, 230));
    QCOMPARE(window.findChild<PictureArea*>("picLett12")->BackColor(), QColor(60, 60, 60));
    QCOMPARE(window.findChild<QListWidget*>("lstFreq")->palette().color(QPalette::Base),
             QColor(30, 30, 30));
    // Every caption keeps the 8-point size the layout was drawn for, and fits its box.
    for (auto* button : window.findChildren<QAbstractButton*>()) {
        QCOMPARE(button->font().pixelSize(), 11);
    }
    for (auto* label : window.findChildren<QLabel*>(QRegularExpression("lblLett"))) {
        QCOMPARE(label->font().pixelSize(), 11);
        QVERIFY(label->fontMetrics().horizontalAdvance(QStringLiteral("m")) <= label->width());
    }
    QApplication::setPalette(light);
    QApplication::setFont(usual);
}

void TestFMainLayout::shortcutsAndTheScreenReadersView() {
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(window_);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Tallivo"));
    auto* list = window_->findChild<QListWidget*>(QStringLiteral("lstFreq"));
    QVERIFY(!QAccessible::queryAccessibleInterface(list)->text(QAccessible::Name).isEmpty());
    // Ctrl+O as Sfoglia (the dialog opens), Ctrl+Q as Chiudi; the buttons keep no access key.
    QTest::keyClick(list, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(fakes_->dialog.shown, 1);
    QTest::keyClick(list, Qt::Key_Q, Qt::ControlModifier);
    QTRY_VERIFY(!window_->isVisible());
}

QTEST_MAIN(TestFMainLayout)
#include "tst_fmain_layout.moc"
