#include "app_fonts.h"
#include "fake_services.h"
#include "finfo.h"
#include "fmain.h"
#include "qt_window_service.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace tallivo;

// Receives the addresses the program asks the desktop to open, so no browser starts.
class AddressCatcher : public QObject {
    Q_OBJECT

public slots:
    void open(const QUrl& url) { opened << url.toString(); }

public:
    QStringList opened;
};

class TestFInfo : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void textsReadExactly_data();
    void textsReadExactly();
    void controlsStandWhereTheTableSays_data();
    void controlsStandWhereTheTableSays();
    void onlyChiudiTakesTheFocus();
    void enterAndEscapeDoNothing();
    void chiudiCloses();
    void eachClickOnTheLinkOpensTheSiteOnce();
    void oneWindowForTheRunShownModalWithNoOwnerAndCentredEveryTime();
    void keepsItsLookUnderADarkThemeAndALargeFont();
};

void TestFInfo::initTestCase() {
    InstallUiFont();
}

void TestFInfo::textsReadExactly_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("utf8");

    QTest::newRow("description")
        << "Label1_0"
        << QByteArray("Questo programma prodotto dalla Orvedel \xc3\xa8 FreeWare. E` stato creato "
                      "a scopo didattico per l'analisi della frequenza delle lettere nei testi "
                      "ASCII, come complemento alla trattazione sulle tecniche basilari di "
                      "crittoanalisi.");
    QTest::newRow("invitation")
        << "Label1_1"
        << QByteArray("Per leggere l'articolo e per informarti sui problemi legati alla protezione "
                      "dei dati, visita il sito Orvedel dove potrai documentarti e seguire la "
                      "strada che ritieni pi\xc3\xb9 adeguata alle tue esigenze.");
    QTest::newRow("disclaimer")
        << "Label1_2"
        << QByteArray("Orvedel declina ogni responsabilit\xc3\xa0 d'uso e danni che dovessero "
                      "derivare dall'uso improprio di questo programma creato a scopo didattico.");
    QTest::newRow("link") << "lblWeb" << QByteArray("www.orvedel.it");
    QTest::newRow("close") << "cmdChiudi" << QByteArray("Chiudi");
}

void TestFInfo::textsReadExactly() {
    QFETCH(QString, name);
    QFETCH(QByteArray, utf8);
    FInfo info;
    auto* control = info.findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->property("text").toString().toUtf8(), utf8);
    QCOMPARE(info.windowTitle(), QStringLiteral("Informazioni"));
}

void TestFInfo::controlsStandWhereTheTableSays_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");

    QTest::newRow("cmdChiudi") << "cmdChiudi" << QRect(316, 190, 51, 25);
    QTest::newRow("Label1_0") << "Label1_0" << QRect(12, 14, 373, 79);
    QTest::newRow("Label1_1") << "Label1_1" << QRect(12, 80, 373, 47);
    QTest::newRow("Label1_2") << "Label1_2" << QRect(12, 134, 373, 47);
    QTest::newRow("lblWeb") << "lblWeb" << QRect(28, 188, 155, 21);
}

void TestFInfo::controlsStandWhereTheTableSays() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    FInfo info;
    QCOMPARE(info.size(), QSize(390, 222));
    QCOMPARE(info.minimumSize(), info.maximumSize());
    QCOMPARE(info.palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0xC0));
    auto* control = info.findChild<QWidget*>(name);
    QCOMPARE(control->geometry(), place);
    if (auto* label = qobject_cast<QLabel*>(control)) {
        // Every text fits its box: wrapped, it needs no more height than the label has.
        const QRect needed =
            label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 1000),
                                              Qt::TextWordWrap | label->alignment(), label->text());
        QVERIFY2(needed.height() <= label->height(), qPrintable(name));
        QVERIFY2(needed.width() <= label->width(), qPrintable(name));
        QVERIFY(!label->autoFillBackground());
    }
}

void TestFInfo::onlyChiudiTakesTheFocus() {
    FInfo info;
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    QApplication::setActiveWindow(&info);
    auto* chiudi = info.findChild<QPushButton*>(QStringLiteral("cmdChiudi"));
    QCOMPARE(info.focusWidget(), chiudi);
    for (QWidget* child : info.findChildren<QWidget*>()) {
        if (child != chiudi) {
            QCOMPARE(child->focusPolicy(), Qt::NoFocus);
        }
    }
    auto* link = info.findChild<QLabel*>(QStringLiteral("lblWeb"));
    QCOMPARE(link->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(link->cursor().pixmap().size(), QSize(32, 32));
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(link->font().underline());
    QVERIFY(link->font().bold());
}

void TestFInfo::enterAndEscapeDoNothing() {
    FInfo info;
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    QApplication::setActiveWindow(&info);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(info.focusWidget(), key);
        QTest::keyClick(&info, key);
        QVERIFY(info.isVisible());
    }
}

void TestFInfo::chiudiCloses() {
    FInfo info;
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    QTest::mouseClick(info.findChild<QPushButton*>(QStringLiteral("cmdChiudi")), Qt::LeftButton);
    QVERIFY(!info.isVisible());
}

void TestFInfo::eachClickOnTheLinkOpensTheSiteOnce() {
    AddressCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    FInfo info;
    info.show();
    QVERIFY(QTest::qWaitForWindowExposed(&info));
    auto* link = info.findChild<QLabel*>(QStringLiteral("lblWeb"));
    for (int click = 0; click < 3; ++click) {
        QTest::mouseClick(link, Qt::LeftButton);
        QVERIFY(info.isVisible());
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
    QCOMPARE(catcher.opened, QStringList(3, QStringLiteral("http://www.orvedel.it")));
}

void TestFInfo::oneWindowForTheRunShownModalWithNoOwnerAndCentredEveryTime() {
    FakeServices fakes;
    FMain window(fakes.services, fakes.counter, fakes.model);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdHelp")), Qt::LeftButton);
    QCOMPARE(fakes.windows.informationShown, 1);

    QtWindowService windows(fakes.model, fakes.messages);
    FInfo* first = nullptr;
    for (int showing = 0; showing < 2; ++showing) {
        windows.ShowInformation();
        FInfo* info = windows.information();
        QVERIFY(QTest::qWaitForWindowExposed(info));
        if (showing == 0) {
            first = info;
        }
        QCOMPARE(info, first);
        QCOMPARE(info->parentWidget(), nullptr); // no owner: the platform's own icon
        QCOMPARE(QApplication::activeModalWidget(), info);
        const QRect screen = info->screen()->geometry();
        const QRect outer = info->frameGeometry();
        QCOMPARE(outer.left() - screen.left(), (screen.width() - outer.width()) / 2);
        QCOMPARE(outer.top() - screen.top(), (screen.height() - outer.height()) / 2);
        info->move(0, 0); // moved away: the next showing must centre it again
        QTest::mouseClick(info->findChild<QPushButton*>(QStringLiteral("cmdChiudi")),
                          Qt::LeftButton);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }
}

void TestFInfo::keepsItsLookUnderADarkThemeAndALargeFont() {
    const QPalette light = QApplication::palette();
    const QFont usual = QApplication::font();
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(50, 50, 50));
    dark.setColor(QPalette::WindowText, QColor(240, 240, 240));
    QApplication::setPalette(dark);
    QFont large = usual;
    large.setPointSizeF(14.0);
    QApplication::setFont(large);
    FInfo info;
    // Dark text on the pale yellow, in the sizes the layout was drawn for: the paragraphs
    // never run into each other.
    QCOMPARE(info.palette().color(QPalette::Window), QColor(255, 255, 192));
    for (int i = 0; i < 3; ++i) {
        auto* text = info.findChild<QLabel*>(QStringLiteral("Label1_%1").arg(i));
        QVERIFY(text->palette().color(QPalette::WindowText).lightness() < 64);
        QCOMPARE(text->font().pixelSize(), 11);
    }
    QCOMPARE(info.findChild<QLabel*>(QStringLiteral("lblWeb"))->font().pixelSize(), 16);
    QCOMPARE(info.findChild<QPushButton*>(QStringLiteral("cmdChiudi"))->font().pixelSize(), 11);
    QApplication::setPalette(light);
    QApplication::setFont(usual);
}

QTEST_MAIN(TestFInfo)
#include "tst_finfo.moc"
