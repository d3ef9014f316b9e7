#include "fguida.h"
#include "guide_opener.h"

#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

using namespace tallivo;

namespace {

// Returns whether the guide has the topic: its page, and the anchor after "#" on that page.
bool GuideHas(const QString& topic) {
    QFile file(QStringLiteral(":/guide/%1.html").arg(topic.section(QLatin1Char('#'), 0, 0)));
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QString anchor = topic.section(QLatin1Char('#'), 1);
    if (anchor.isEmpty()) {
        return true;
    }
    QTextDocument document;
    document.setHtml(QString::fromUtf8(file.readAll()));
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(anchor)) {
                return true;
            }
        }
    }
    return false;
}

// A window named as the workbench, with its tab widget and a page of each of names.
QWidget* Workbench(const QStringList& pages) {
    auto* window = new QWidget;
    window->setObjectName(QStringLiteral("FDecifra"));
    auto* tabs = new QTabWidget(window);
    tabs->setObjectName(QStringLiteral("tabModi"));
    for (const QString& name : pages) {
        auto* page = new QWidget;
        page->setObjectName(name);
        new QLineEdit(page);
        tabs->addTab(page, name);
    }
    tabs->setCurrentIndex(int(pages.size()) - 1);
    return window;
}

QString Topic(const FGuida* guide) {
    const auto* browser = guide->findChild<QTextBrowser*>(QStringLiteral("txtGuida"));
    return browser->source().fileName().chopped(5) +
           (browser->source().hasFragment() ? QLatin1Char('#') + browser->source().fragment()
                                            : QString());
}

} // namespace

class TestGuideOpener : public QObject {
    Q_OBJECT

private slots:
    void eachWindowHasItsSectionOfTheGuide_data();
    void eachWindowHasItsSectionOfTheGuide();
    void f1OpensOneGuideAtTheWindowsSection();
    void overAModalWindowTheGuideIsModal();
};

void TestGuideOpener::eachWindowHasItsSectionOfTheGuide_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("page"); // the workbench's page in view, if any
    QTest::addColumn<QString>("topic");
    const char* pages[][2] = {{"pagCesare", "cesare"},
                              {"pagSostituzione", "sostituzione"},
                              {"pagVigenere", "vigenere"},
                              {"pagAffine", "affine"},
                              {"pagBeaufort", "beaufort"},
                              {"pagAutochiave", "autochiave"},
                              {"pagTrasposizione", "trasposizione"},
                              {"pagPlayfair", "playfair"},
                              {"pagIdentificazione", "che-cifrario"}};
    for (const auto& [page, anchor] : pages) {
        QTest::newRow(page) << "FDecifra" << page << QStringLiteral("decifra#") + anchor;
    }
    QTest::newRow("a page the guide does not know") << "FDecifra"
                                                    << "pagNuova"
                                                    << "decifra";
    QTest::newRow("the workbench without pages") << "FDecifra"
                                                 << ""
                                                 << "decifra";
    QTest::newRow("statistics") << "FStats"
                                << ""
                                << "finestra#statistiche";
    QTest::newRow("information") << "FInfo"
                                 << ""
                                 << "finestra#informazioni";
    QTest::newRow("main window") << "FMain"
                                 << ""
                                 << "finestra";
    QTest::newRow("a window without a name") << ""
                                             << ""
                                             << "finestra";
}

void TestGuideOpener::eachWindowHasItsSectionOfTheGuide() {
    QFETCH(QString, window);
    QFETCH(QString, page);
    QFETCH(QString, topic);
    std::unique_ptr<QWidget> shown(page.isEmpty() ? new QWidget : Workbench({page}));
    shown->setObjectName(window);
    QCOMPARE(GuideOpener::TopicFor(shown.get()), topic);
    QVERIFY2(GuideHas(topic), qPrintable(topic));
}

void TestGuideOpener::f1OpensOneGuideAtTheWindowsSection() {
    QWidget owner;
    owner.setObjectName(QStringLiteral("FMain"));
    auto* field = new QLineEdit(&owner);
    GuideOpener opener(owner);
    opener.AddHelpKey(&owner);
    owner.show();
    std::unique_ptr<QWidget> workbench(Workbench({"pagCesare", "pagVigenere"}));
    opener.AddHelpKey(workbench.get());
    workbench->show();
    QVERIFY(QTest::qWaitForWindowExposed(workbench.get()));
    QVERIFY(opener.guide() == nullptr);

    // From a field deep in the workbench's page in view.
    auto* inPage = workbench->findChild<QTabWidget*>()->currentWidget()->findChild<QLineEdit*>();
    workbench->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(workbench.get()));
    QTest::keyClick(inPage, Qt::Key_F1);
    QVERIFY(opener.guide() != nullptr);
    FGuida* guide = opener.guide();
    QVERIFY(guide->isVisible());
    QCOMPARE(Topic(guide), QStringLiteral("decifra#vigenere"));
    QCOMPARE(guide->windowModality(), Qt::NonModal);

    // Another window: the same guide, at that window's section.
    owner.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&owner));
    QTest::keyClick(field, Qt::Key_F1);
    QCOMPARE(opener.guide(), guide);
    QCOMPARE(Topic(guide), QStringLiteral("finestra"));

    // In the guide itself, F1 leaves it where it is.
    QTest::keyClick(guide->findChild<QTextBrowser*>(), Qt::Key_F1);
    QCOMPARE(Topic(guide), QStringLiteral("finestra"));

    // Closed, it is made again on the next F1.
    guide->close();
    QTRY_VERIFY(opener.guide() == nullptr);
    owner.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&owner));
    QTest::keyClick(field, Qt::Key_F1);
    QVERIFY(opener.guide() != nullptr && opener.guide()->isVisible());
}

void TestGuideOpener::overAModalWindowTheGuideIsModal() {
    QWidget owner;
    GuideOpener opener(owner);
    owner.show();
    opener.Show(QStringLiteral("finestra")); // open and not modal before the dialog
    QCOMPARE(opener.guide()->windowModality(), Qt::NonModal);

    QDialog information;
    information.setObjectName(QStringLiteral("FInfo"));
    information.setWindowModality(Qt::ApplicationModal);
    auto* button = new QLineEdit(&information);
    opener.AddHelpKey(&information);
    information.show();
    QVERIFY(QTest::qWaitForWindowExposed(&information));
    QCOMPARE(QApplication::activeModalWidget(), &information);
    QTest::keyClick(button, Qt::Key_F1);
    FGuida* guide = opener.guide();
    QVERIFY(guide->isVisible());
    QCOMPARE(guide->windowModality(), Qt::ApplicationModal);
    QCOMPARE(QApplication::activeModalWidget(), guide);
    QCOMPARE(Topic(guide), QStringLiteral("finestra#informazioni"));

    // Closed, the guide gives the input back to the dialog; after it, the guide is free again.
    guide->close();
    QTRY_COMPARE(QApplication::activeModalWidget(), &information);
    information.close();
    opener.Show(QStringLiteral("decifra"));
    QCOMPARE(opener.guide()->windowModality(), Qt::NonModal);
}

QTEST_MAIN(TestGuideOpener)
#include "tst_guide_opener.moc"
