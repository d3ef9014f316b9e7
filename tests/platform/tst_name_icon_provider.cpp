#include "name_icon_provider.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace tallivo;

class TestNameIconProvider : public QObject {
    Q_OBJECT

private slots:
    void neverOpensAnEntry_data();
    void neverOpensAnEntry();
};

void TestNameIconProvider::neverOpensAnEntry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::newRow("a FIFO with no writer") << "fifo" << "File speciale";
    QTest::newRow("a link to it") << "link.txt" << "File speciale";
    QTest::newRow("a folder") << "folder" << "Cartella";
    QTest::newRow("a text") << "testo.txt" << "File txt";
    // Read, its start would say PDF; by its name it is a file like any other.
    QTest::newRow("no suffix, PDF inside") << "documento" << "File";
}

void TestNameIconProvider::neverOpensAnEntry() {
    QFETCH(QString, name);
    QFETCH(QString, type);
    // Opening the FIFO to read its start would wait for a writer for ever.
    QTemporaryDir dir;
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600) == 0);
    QVERIFY(QFile::link(dir.filePath("fifo"), dir.filePath("link.txt")));
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    QFile text(dir.filePath("testo.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.close();
    QFile pdf(dir.filePath("documento"));
    QVERIFY(pdf.open(QIODevice::WriteOnly));
    pdf.write("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n");
    pdf.close();

    const NameIconProvider icons;
    const QFileInfo info(dir.filePath(name));
    QVERIFY(!icons.icon(info).isNull());
    QCOMPARE(icons.type(info), type);
}

QTEST_MAIN(TestNameIconProvider)
#include "tst_name_icon_provider.moc"
