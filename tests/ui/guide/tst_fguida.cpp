#include "fguida.h"
#include "sample_texts.h"

#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

using namespace tallivo;

namespace {

// A link of the guide: where it stands and where it leads.
struct Link {
    QUrl page;
    QString href;
};

QTextDocument* LoadedPage(const QUrl& page, QObject* parent) {
    QFile file(QLatin1Char(':') + page.path());
    if (!file.open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    auto* document = new QTextDocument(parent);
    document->setHtml(QString::fromUtf8(file.readAll()));
    return document;
}

// Calls visit with the cursor over each stretch of text that has an anchor format.
template <typename Visit> void EachAnchor(QTextDocument* document, Visit visit) {
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && fragment.charFormat().isAnchor()) {
                visit(fragment);
            }
        }
    }
}

// The viewport point in the middle of the first link to href on the page shown.
QPoint LinkPoint(QTextBrowser* browser, const QString& href) {
    QPoint point(-1, -1);
    EachAnchor(browser->document(), [&](const QTextFragment& fragment) {
        if (point.x() < 0 && fragment.charFormat().anchorHref() == href) {
            QTextCursor cursor(browser->document());
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            browser->setTextCursor(cursor);
            browser->ensureCursorVisible();
            point = browser->cursorRect(cursor).center();
        }
    });
    return point;
}

// The text of the block shown at the top of the browser's viewport.
QString TopLine(QTextBrowser* browser) {
    return browser->cursorForPosition(QPoint(4, 4)).block().text();
}

} // namespace

class TestFGuida : public QObject {
    Q_OBJECT

private slots:
    void opensAtTheTopic_data();
    void opensAtTheTopic();
    void aSampleLinkAsksForItsSampleAndStaysOnThePage();
    void pageLinksNavigateAndComeBack();
    void escapeAndCtrlWClose_data();
    void escapeAndCtrlWClose();
    void everyLinkLeadsToAPageAnchorOrSample();
    void everyCiphertextHasAWorkedExercise();
    void samplesAreFoundOnlyByTheirNames_data();
    void samplesAreFoundOnlyByTheirNames();
};

void TestFGuida::opensAtTheTopic_data() {
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<QString>("top"); // the start of the line at the top of the view

    QTest::newRow("start") << ""
                           << "/guide/index.html"
                           << ""
                           << "Guida di Tallivo";
    QTest::newRow("a page") << "finestra"
                            << "/guide/finestra.html"
                            << ""
                            << "Sommario";
    QTest::newRow("a section far down") << "decifra#vigenere"
                                        << "/guide/decifra.html"
                                        << "vigenere" << QStringLiteral("Vigenère");
    QTest::newRow("an exercise") << "esercizi#es-affine"
                                 << "/guide/esercizi.html"
                                 << "es-affine"
                                 << "Affine";
    QTest::newRow("the teacher's page") << "insegnante"
                                        << "/guide/insegnante.html"
                                        << ""
                                        << "Sommario";
    QTest::newRow("a page the guide has not: the start") << "nessuna#vigenere"
                                                         << "/guide/index.html"
                                                         << ""
                                                         << "Guida di Tallivo";
    QTest::newRow("no way out of the guide") << "../texts/esempi/cesare"
                                             << "/guide/index.html"
                                             << ""
                                             << "Guida di Tallivo";
}

void TestFGuida::opensAtTheTopic() {
    QFETCH(QString, topic);
    QFETCH(QString, page);
    QFETCH(QString, anchor);
    QFETCH(QString, top);
    FGuida guide;
    QCOMPARE(guide.windowTitle(), QStringLiteral("Guida di Tallivo"));
    guide.ShowTopic(QStringLiteral("esercizi#es-vigenere")); // somewhere else first
    guide.show();
    QVERIFY(QTest::qWaitForWindowExposed(&guide));
    guide.ShowTopic(topic);
    auto* browser = guide.findChild<QTextBrowser*>(QStringLiteral("txtGuida"));
    QVERIFY(browser);
    QCOMPARE(browser->source().path(), page);
    QCOMPARE(browser->source().fragment(), anchor);
    QTRY_VERIFY2(TopLine(browser).startsWith(top), qPrintable(TopLine(browser)));
    QCOMPARE(browser->verticalScrollBar()->value() > 0, !anchor.isEmpty());
}

void TestFGuida::aSampleLinkAsksForItsSampleAndStaysOnThePage() {
    FGuida guide;
    guide.show();
    QVERIFY(QTest::qWaitForWindowExposed(&guide));
    guide.ShowTopic(QStringLiteral("esercizi#es-vigenere"));
    auto* browser = guide.findChild<QTextBrowser*>(QStringLiteral("txtGuida"));
    QSignalSpy asked(&guide, &FGuida::sampleRequested);
    const QPoint link = LinkPoint(browser, QStringLiteral("tallivo:esempio/vigenere"));
    QVERIFY(link.x() >= 0);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, link);
    QCOMPARE(asked.count(), 1);
    QCOMPARE(asked.first().first().toString(), QStringLiteral("vigenere"));
    QCOMPARE(browser->source().path(), QStringLiteral("/guide/esercizi.html"));
}

void TestFGuida::pageLinksNavigateAndComeBack() {
    FGuida guide;
    guide.show();
    QVERIFY(QTest::qWaitForWindowExposed(&guide));
    auto* browser = guide.findChild<QTextBrowser*>(QStringLiteral("txtGuida"));
    auto* back = guide.findChild<QPushButton*>(QStringLiteral("cmdIndietro"));
    QVERIFY(!back->isEnabled());
    QSignalSpy asked(&guide, &FGuida::sampleRequested);
    const QPoint link = LinkPoint(browser, QStringLiteral("decifra.html#cesare"));
    QVERIFY(link.x() >= 0);
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, link);
    QCOMPARE(browser->source().path(), QStringLiteral("/guide/decifra.html"));
    QTRY_VERIFY(TopLine(browser).startsWith(QStringLiteral("Cesare")));
    QVERIFY(back->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(browser->source().path(), QStringLiteral("/guide/index.html"));
    QCOMPARE(asked.count(), 0);
}

void TestFGuida::escapeAndCtrlWClose_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::newRow("Escape") << QKeySequence(Qt::Key_Escape);
    QTest::newRow("Ctrl+W") << QKeySequence(Qt::CTRL | Qt::Key_W);
}

void TestFGuida::escapeAndCtrlWClose() {
    QFETCH(QKeySequence, keys);
    FGuida guide;
    guide.show();
    QVERIFY(QTest::qWaitForWindowExposed(&guide));
    guide.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&guide));
    // With the focus in the text, where the keys would otherwise go.
    auto* browser = guide.findChild<QTextBrowser*>(QStringLiteral("txtGuida"));
    QTRY_VERIFY(browser->hasFocus());
    QTest::keySequence(&guide, keys);
    QVERIFY(!guide.isVisible());
}

void TestFGuida::everyLinkLeadsToAPageAnchorOrSample() {
    QObject owner;
    QMap<QString, QSet<QString>> anchors; // page path -> its anchor names
    QList<Link> links;
    const QList<QUrl> pages = FGuida::Pages();
    QCOMPARE(pages.size(), 5);
    for (const QUrl& page : pages) {
        QTextDocument* document = LoadedPage(page, &owner);
        QVERIFY2(document, qPrintable(page.toString()));
        anchors[page.path()];
        EachAnchor(document, [&](const QTextFragment& fragment) {
            for (const QString& name : fragment.charFormat().anchorNames()) {
                anchors[page.path()].insert(name);
            }
            if (!fragment.charFormat().anchorHref().isEmpty()) {
                links.append({page, fragment.charFormat().anchorHref()});
            }
        });
    }
    QVERIFY(links.size() > 50);
    const QStringList samples = SampleTexts::Names();
    for (const Link& link : links) {
        const QUrl target = link.page.resolved(QUrl(link.href));
        const QString where = link.page.fileName() + QStringLiteral(": ") + link.href;
        if (target.scheme() == QLatin1String("tallivo")) {
            QVERIFY2(target.path().startsWith(QStringLiteral("esempio/")), qPrintable(where));
            QVERIFY2(samples.contains(target.path().mid(8)), qPrintable(where));
            continue;
        }
        QCOMPARE(target.scheme(), QStringLiteral("qrc"));
        QVERIFY2(anchors.contains(target.path()), qPrintable(where));
        QVERIFY2(target.fragment().isEmpty() || anchors[target.path()].contains(target.fragment()),
                 qPrintable(where));
    }
}

void TestFGuida::everyCiphertextHasAWorkedExercise() {
    QObject owner;
    QTextDocument* exercises = LoadedPage(QUrl(QStringLiteral("qrc:/guide/esercizi.html")), &owner);
    QVERIFY(exercises);
    QSet<QString> linked;
    EachAnchor(exercises, [&](const QTextFragment& fragment) {
        linked.insert(fragment.charFormat().anchorHref());
    });
    int ciphertexts = 0;
    for (const QString& name : SampleTexts::Names()) {
        if (SampleTexts::IsCiphertext(name)) {
            ++ciphertexts;
            QVERIFY2(linked.contains(QStringLiteral("tallivo:esempio/") + name), qPrintable(name));
        }
    }
    QCOMPARE(ciphertexts, 9);
}

void TestFGuida::samplesAreFoundOnlyByTheirNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("start"); // empty for none
    QTest::newRow("a ciphertext") << "cesare" << QByteArray("VHFRQGR OR VWRULFR");
    QTest::newRow("in groups of five") << "vigenere" << QByteArray("CYMGP CBFDW");
    QTest::newRow("a reading") << "rosetta" << QByteArray("La stele di Rosetta\n");
    QTest::newRow("unknown") << "enigma" << QByteArray();
    QTest::newRow("with its extension") << "cesare.txt" << QByteArray();
    QTest::newRow("out of its folder") << "../letture/api" << QByteArray();
    QTest::newRow("a guide page") << "../../guide/index" << QByteArray();
    QTest::newRow("empty") << "" << QByteArray();
}

void TestFGuida::samplesAreFoundOnlyByTheirNames() {
    QFETCH(QString, name);
    QFETCH(QByteArray, start);
    const QByteArray text = SampleTexts::Text(name);
    QVERIFY2(text.startsWith(start), text.left(40).constData());
    QCOMPARE(text.isEmpty(), start.isEmpty());
}

QTEST_MAIN(TestFGuida)
#include "tst_fguida.moc"
