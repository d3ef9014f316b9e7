#include "analysis_error.h"
#include "app_fonts.h"
#include "cipher_text.h"
#include "composition.h"
#include "fake_services.h"
#include "fmain.h"
#include "report_lines.h"
#include "report_menu.h"
#include "temp_files.h"

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <unistd.h>

using namespace tallivo;

namespace {

// A sender that announces a text and then delivers nothing, as a transfer that broke off.
class BrokenText : public QMimeData {
public:
    QStringList formats() const override { return {QStringLiteral("text/plain")}; }
    bool hasFormat(const QString& format) const override { return formats().contains(format); }

protected:
    QVariant retrieveData(const QString&, QMetaType) const override { return QByteArray(); }
};

// A clipboard owner that counts how often it is asked, as a slow owner makes every question
// cost a wait: it offers a text in two formats, or, as one that never answers, nothing.
class CountingText : public QMimeData {
public:
    explicit CountingText(bool answers)
        : answers(answers) {}

    QStringList formats() const override {
        ++asked;
        if (!answers) {
            return {};
        }
        return {QStringLiteral("text/plain"), QStringLiteral("text/plain;charset=utf-8")};
    }
    bool hasFormat(const QString& format) const override { return formats().contains(format); }

    bool answers;
    mutable int asked = 0;
    mutable QStringList delivered;

protected:
    QVariant retrieveData(const QString& format, QMetaType) const override {
        ++asked;
        delivered << format;
        return QByteArray("aaab");
    }
};

} // namespace

class TestTextIntake : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallUiFont(); }
    void init();
    void cleanup();
    void droppedOrPastedTextIsAnalysedAsAFile_data();
    void droppedOrPastedTextIsAnalysedAsAFile();
    void textThatDoesNotArriveKeepsTheReport_data();
    void textThatDoesNotArriveKeepsTheReport();
    void anotherProgramsTextIsCountedAsItComes_data();
    void anotherProgramsTextIsCountedAsItComes();
    void theClipboardIsAskedOnceForItsFormatsAndOnceForTheText_data();
    void theClipboardIsAskedOnceForItsFormatsAndOnceForTheText();
    void droppedFilesOneAtATime();
    void droppedNameThatIsNoUtf8Opens();

private:
    QStringList Lines() const;
    // Drags data over the window and drops it; returns whether the window took it.
    bool DragAndDrop(QMimeData& data);
    void AnalyseAaab();

    TempFiles files_;
    FakeServices* fakes_ = nullptr;
    FMain* window_ = nullptr;
};

void TestTextIntake::init() {
    fakes_ = new FakeServices;
    window_ = new FMain(fakes_->services, fakes_->counter, fakes_->model);
    ComposeFeatures(*window_, fakes_->model, fakes_->services, fakes_->counter);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void TestTextIntake::cleanup() {
    delete window_;
    delete fakes_;
}

QStringList TestTextIntake::Lines() const {
    return ReportListLines(window_);
}

bool TestTextIntake::DragAndDrop(QMimeData& data) {
    const QPoint where(200, 200);
    QDragEnterEvent enter(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_, &enter);
    QDropEvent drop(where, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    fakes_->AndWait([&] { QApplication::sendEvent(window_, &drop); });
    return enter.isAccepted() && drop.isAccepted();
}

void TestTextIntake::AnalyseAaab() {
    fakes_->dialog.names.enqueue(files_.Write(QStringLiteral("aaab"), "aaab"));
    fakes_->AndWait([this] { window_->cmdBrowse_Click(); });
    QCOMPARE(Lines(), AaabReport());
}

void TestTextIntake::droppedOrPastedTextIsAnalysedAsAFile_data() {
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("name");
    QTest::newRow("dropped") << false << QStringLiteral("(testo trascinato)");
    QTest::newRow("pasted with Ctrl+V") << true << QStringLiteral("(testo incollato)");
}

void TestTextIntake::droppedOrPastedTextIsAnalysedAsAFile() {
    QFETCH(bool, paste);
    QFETCH(QString, name);
    // "à" is two bytes of UTF-8 and no letter; the report is that of "aaab".
    const QString text = QStringLiteral("A à, a\nab");
    if (paste) {
        QGuiApplication::clipboard()->setText(text);
        fakes_->AndWait([this] { QTest::keyClick(window_, Qt::Key_V, Qt::ControlModifier); });
    } else {
        QMimeData data;
        data.setText(text);
        QVERIFY(DragAndDrop(data));
    }
    QCOMPARE(Lines(), AaabReport());
    // The model keeps the text's name and what the workbench needs of it, not the text twice.
    QVERIFY(fakes_->model.result()->fromText);
    QCOMPARE(fakes_->model.result()->name, name);
    QCOMPARE(QString::fromStdString(fakes_->model.result()->analysis.text->bytes()), text);
    QCOMPARE(fakes_->progress.watched, QStringList{name});

    // A text without letters names itself in its message.
    if (paste) {
        QGuiApplication::clipboard()->setText(QStringLiteral("123"));
        fakes_->AndWait([this] { QTest::keyClick(window_, Qt::Key_V, Qt::ControlModifier); });
    } else {
        QMimeData digits;
        digits.setText(QStringLiteral("123"));
        DragAndDrop(digits);
    }
    QCOMPARE(fakes_->messages.texts.value(0),
             QStringLiteral("Il testo %1 non contiene lettere dalla A alla Z.")
                 .arg(paste ? QStringLiteral("incollato") : QStringLiteral("trascinato")));
}

void TestTextIntake::textThatDoesNotArriveKeepsTheReport_data() {
    QTest::addColumn<bool>("paste");
    QTest::addColumn<bool>("announced");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty clipboard") << true << false << "Gli appunti non contengono testo.";
    QTest::newRow("clipboard transfer broke off")
        << true << true << "Il testo degli appunti non è arrivato";
    QTest::newRow("drop transfer broke off")
        << false << true << "Il testo trascinato non è arrivato";
}

void TestTextIntake::textThatDoesNotArriveKeepsTheReport() {
    QFETCH(bool, paste);
    QFETCH(bool, announced);
    QFETCH(QString, message);
    AnalyseAaab();
    if (paste) {
        if (announced) {
            QGuiApplication::clipboard()->setMimeData(new BrokenText);
        } else {
            QGuiApplication::clipboard()->clear();
        }
        QTest::keyClick(window_, Qt::Key_V, Qt::ControlModifier);
    } else {
        BrokenText data;
        QVERIFY(DragAndDrop(data));
    }
    QCOMPARE(fakes_->messages.texts.size(), 1);
    QVERIFY2(fakes_->messages.texts[0].startsWith(message), qPrintable(fakes_->messages.texts[0]));
    QCOMPARE(Lines(), AaabReport());
    QCOMPARE(window_->totalLetters(), 4);
    QVERIFY(!fakes_->counter.IsBusy());
}

void TestTextIntake::anotherProgramsTextIsCountedAsItComes_data() {
    QTest::addColumn<int>("parts");   // of 1 MiB and 3 bytes, each "ab\n" over and over
    QTest::addColumn<int>("failure"); // after the parts; -1: none
    QTest::addColumn<QString>("message");
    const int none = -1;
    QTest::newRow("longer than the workbench keeps") << 20 << none << QString();
    QTest::newRow("the owner has no text")
        << 0 << int(AnalysisError::NoText) << "Gli appunti non contengono testo.";
    QTest::newRow("the owner never answers")
        << 0 << int(AnalysisError::NoAnswer) << "Gli appunti non hanno risposto";
    QTest::newRow("the parts stop coming")
        << 3 << int(AnalysisError::ReadError) << "Il testo degli appunti non è arrivato";
}

void TestTextIntake::anotherProgramsTextIsCountedAsItComes() {
    QFETCH(int, parts);
    QFETCH(int, failure);
    QFETCH(QString, message);
    AnalyseAaab();
    std::string part;
    while (part.size() < (std::size_t(1) << 20) + 3) {
        part += "ab\n";
    }
    fakes_->clipboard.stream = [&](const BlockSink& sink, const ReadObserver& observer) {
        QVERIFY(QThread::currentThread() != qApp->thread()); // never on the window's thread
        std::uint64_t sent = 0;
        for (int i = 0; i < parts; ++i) {
            sink(reinterpret_cast<const unsigned char*>(part.data()), part.size());
            sent += part.size();
            observer(sent);
        }
        if (failure >= 0) {
            throw AnalysisFailure(AnalysisError(failure), "scripted");
        }
    };
    fakes_->AndWait([this] { QTest::keyClick(window_, Qt::Key_V, Qt::ControlModifier); });
    QCOMPARE(fakes_->clipboard.asked, 1);
    if (failure >= 0) {
        QCOMPARE(fakes_->messages.texts.size(), 1);
        QVERIFY2(fakes_->messages.texts[0].startsWith(message),
                 qPrintable(fakes_->messages.texts[0]));
        QCOMPARE(Lines(), AaabReport());
        return;
    }
    QVERIFY(fakes_->messages.texts.isEmpty());
    const std::int64_t each = std::int64_t(part.size()) / 3;
    QCOMPARE(window_->totalLetters(), 2 * each * parts);
    QCOMPARE(fakes_->model.result()->name, QStringLiteral("(testo incollato)"));
    // All of it counted, only the head kept, cut where the workbench cuts a file.
    const std::string& kept = fakes_->model.result()->analysis.text->bytes();
    QCOMPARE(kept.size(), std::size_t(CipherText::kWorkLimit));
    QVERIFY(kept.compare(0, part.size(), part) == 0);
}

void TestTextIntake::theClipboardIsAskedOnceForItsFormatsAndOnceForTheText_data() {
    QTest::addColumn<bool>("answers");
    QTest::addColumn<int>("asked");
    QTest::newRow("an owner that answers: formats, then the UTF-8 text") << true << 2;
    QTest::newRow("an owner that never answers: one question") << false << 1;
}

void TestTextIntake::theClipboardIsAskedOnceForItsFormatsAndOnceForTheText() {
    QFETCH(bool, answers);
    QFETCH(int, asked);
    auto* owner = new CountingText(answers);
    QGuiApplication::clipboard()->setMimeData(owner);
    fakes_->AndWait([this] { QTest::keyClick(window_, Qt::Key_V, Qt::ControlModifier); });
    QCOMPARE(owner->asked, asked);
    if (answers) {
        QCOMPARE(Lines(), AaabReport());
        QCOMPARE(owner->delivered, QStringList{QStringLiteral("text/plain;charset=utf-8")});
    } else {
        QCOMPARE(fakes_->messages.texts, QStringList{"Gli appunti non contengono testo."});
    }
}

void TestTextIntake::droppedFilesOneAtATime() {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(files_.Write(QStringLiteral("dropped"), "aaab"))});
    QVERIFY(DragAndDrop(data));
    QCOMPARE(Lines(), AaabReport());
    QCOMPARE(fakes_->dialog.shown, 0);

    // Several files, a folder or a remote address: a message each, the report stays.
    QMimeData several;
    several.setUrls({QUrl::fromLocalFile(files_.Write(QStringLiteral("one"), "z")),
                     QUrl::fromLocalFile(files_.Write(QStringLiteral("two"), "z"))});
    QVERIFY(DragAndDrop(several));
    QMimeData folder;
    folder.setUrls({QUrl::fromLocalFile(QDir::tempPath())});
    QVERIFY(DragAndDrop(folder));
    QMimeData remote;
    remote.setUrls({QUrl(QStringLiteral("http://example.invalid/a.txt"))});
    QVERIFY(DragAndDrop(remote));
    const QStringList& texts = fakes_->messages.texts;
    QCOMPARE(texts.size(), 3);
    QVERIFY(texts[0].startsWith(QStringLiteral("Si può analizzare un solo file alla volta")));
    QVERIFY(texts[1].endsWith(QStringLiteral("Non è un file normale.")));
    QVERIFY(texts[2].endsWith(QStringLiteral("http://example.invalid/a.txt")));
    QCOMPARE(Lines(), AaabReport());
}

void TestTextIntake::droppedNameThatIsNoUtf8Opens() {
    // The name's bytes are Latin-1 "é", no UTF-8: the file opens by exactly these bytes.
    const QByteArray name = QFile::encodeName(files_.Path(QString())) + "/caff\xe9.txt";
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0600);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, "aaab", 4), ssize_t(4));
    ::close(fd);
    QMimeData data;
    data.setUrls(
        {QUrl(QStringLiteral("file://") + QString::fromLatin1(name.toPercentEncoding("/")))});
    QVERIFY(DragAndDrop(data));
    QCOMPARE(fakes_->messages.texts, QStringList());
    QCOMPARE(Lines(), AaabReport());
    ::unlink(name.constData());
}

QTEST_MAIN(TestTextIntake)
#include "tst_text_intake.moc"
