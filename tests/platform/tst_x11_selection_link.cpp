#include "analysis_error.h"
#include "selection_reader.h"
#include "x11_selection_link.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <xcb/xcb.h>

#include <poll.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

using namespace tallivo;

Q_DECLARE_METATYPE(tallivo::AnalysisError)

namespace {

// How a test's clipboard owner serves a request.
enum class Serving {
    Whole,            // UTF-8, whole, in one property
    Parts,            // UTF-8, in parts of partSize bytes, then the empty part
    PartsStop,        // the same, but no more after the first part
    PartNoText,       // the same, but the second part is no text
    Latin1Only,       // refuses UTF-8, gives Latin-1
    NoTextThenLatin1, // answers UTF-8 with something that is no text, gives Latin-1
    RefuseAll,        // has no text in any form
    Silent,           // never answers
};

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : XCB_NONE;
    std::free(reply);
    return atom;
}

// Another program that owns the display's clipboard and serves its text as told, on a thread
// and a connection of its own, as the display's protocol has owners do.
class ClipboardOwner {
public:
    ClipboardOwner(const QByteArray& display, std::size_t partSize)
        : partSize_(partSize) {
        connection_ = xcb_connect(display.constData(), nullptr);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        window_ = xcb_generate_id(connection_);
        xcb_create_window(connection_, 0, window_, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        clipboard_ = Atom(connection_, "CLIPBOARD");
        utf8_ = Atom(connection_, "UTF8_STRING");
        incremental_ = Atom(connection_, "INCR");
        for (int tries = 0; tries < 100 && !owned_; ++tries) {
            xcb_set_selection_owner(connection_, window_, clipboard_, XCB_CURRENT_TIME);
            owned_ = Owns();
            QTest::qSleep(owned_ ? 0 : 10);
        }
        serving_thread_ = std::thread([this] { Serve(); });
    }

    // Whether it took the clipboard.
    bool owned() const { return owned_; }

    // Returns how many requests it has had since it was last set.
    int requests() {
        const std::lock_guard lock(mutex_);
        return requests_;
    }

    // Serves text as serving says from now on.
    void Set(Serving serving, std::string text) {
        const std::lock_guard lock(mutex_);
        serving_ = serving;
        text_ = std::move(text);
        requestor_ = 0;
        requests_ = 0;
    }

    ~ClipboardOwner() {
        stop_ = true;
        serving_thread_.join();
        xcb_disconnect(connection_);
    }

private:
    bool Owns() {
        xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
            connection_, xcb_get_selection_owner(connection_, clipboard_), nullptr);
        const bool owns = reply != nullptr && reply->owner == window_;
        std::free(reply);
        return owns;
    }

    void Serve() {
        while (!stop_) {
            pollfd watch{xcb_get_file_descriptor(connection_), POLLIN, 0};
            ::poll(&watch, 1, 20);
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const std::lock_guard lock(mutex_);
                Handle(event);
                std::free(event);
            }
        }
    }

    void Handle(const xcb_generic_event_t* event) {
        if ((event->response_type & ~0x80) == XCB_SELECTION_REQUEST) {
            Answer(*reinterpret_cast<const xcb_selection_request_event_t*>(event));
        } else if ((event->response_type & ~0x80) == XCB_PROPERTY_NOTIFY) {
            const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
            if (notify->window == requestor_ && notify->atom == property_ &&
                notify->state == XCB_PROPERTY_DELETE) {
                NextPart();
            }
        }
    }

    void Answer(const xcb_selection_request_event_t& request) {
        ++requests_;
        if (serving_ == Serving::Silent) {
            return;
        }
        const bool latin1 =
            serving_ == Serving::Latin1Only || serving_ == Serving::NoTextThenLatin1;
        const xcb_atom_t wanted = latin1 ? xcb_atom_t(XCB_ATOM_STRING) : utf8_;
        xcb_atom_t property = XCB_NONE;
        if (serving_ == Serving::NoTextThenLatin1 && request.target == utf8_) {
            property = request.property;
            const std::uint32_t atom = XCB_ATOM_ATOM;
            xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor,
                                request.property, XCB_ATOM_ATOM, 32, 1, &atom);
        } else if (request.target == wanted && serving_ != Serving::RefuseAll) {
            property = request.property;
            if (serving_ == Serving::Parts || serving_ == Serving::PartsStop ||
                serving_ == Serving::PartNoText) {
                // Told of the requestor's deletes, each the request for the next part.
                const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
                xcb_change_window_attributes(connection_, request.requestor, XCB_CW_EVENT_MASK,
                                             &events);
                requestor_ = request.requestor;
                property_ = request.property;
                sent_ = 0;
                parts_ = 0;
                const auto size = std::uint32_t(text_.size());
                xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor,
                                    request.property, incremental_, 32, 1, &size);
            } else {
                xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, request.requestor,
                                    request.property, wanted, 8, std::uint32_t(text_.size()),
                                    text_.data());
            }
        }
        xcb_selection_notify_event_t notify{};
        notify.response_type = XCB_SELECTION_NOTIFY;
        notify.time = request.time;
        notify.requestor = request.requestor;
        notify.selection = request.selection;
        notify.target = request.target;
        notify.property = property;
        xcb_send_event(connection_, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&notify));
        xcb_flush(connection_);
    }

    void NextPart() {
        if (sent_ > text_.size() || (serving_ == Serving::PartsStop && parts_ == 1)) {
            return;
        }
        if (serving_ == Serving::PartNoText && parts_ == 1) {
            const std::uint32_t atom = XCB_ATOM_ATOM;
            xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, requestor_, property_,
                                XCB_ATOM_ATOM, 32, 1, &atom);
            xcb_flush(connection_);
            ++parts_;
            return;
        }
        const std::size_t size = std::min(partSize_, text_.size() - sent_);
        xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, requestor_, property_, utf8_, 8,
                            std::uint32_t(size), text_.data() + sent_);
        xcb_flush(connection_);
        // The empty part, sent once all the text is, ends it.
        sent_ += size == 0 ? 1 : size;
        ++parts_;
    }

    std::mutex mutex_;
    Serving serving_ = Serving::Silent;
    std::string text_;
    bool owned_ = false;
    std::size_t partSize_;
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t window_ = 0;
    xcb_atom_t clipboard_ = 0;
    xcb_atom_t utf8_ = 0;
    xcb_atom_t incremental_ = 0;
    xcb_window_t requestor_ = 0;
    xcb_atom_t property_ = 0;
    std::size_t sent_ = 0;
    int parts_ = 0;
    int requests_ = 0;
    std::atomic<bool> stop_{false};
    std::thread serving_thread_;
};

// A text of size bytes, different at every offset, so that a part lost or repeated shows.
std::string Text(std::size_t size) {
    std::string text(size, ' ');
    for (std::size_t i = 0; i < size; ++i) {
        text[i] = char('a' + (i * 7 + i / 26) % 26);
    }
    return text;
}

} // namespace

Q_DECLARE_METATYPE(Serving)

class TestX11SelectionLink : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void readsAnotherProgramsClipboard_data();
    void readsAnotherProgramsClipboard();

private:
    QProcess server_;
    QByteArray display_;
    // The other program, one for all the cases that have one: owners do not come and go.
    std::unique_ptr<ClipboardOwner> owner_;
};

void TestX11SelectionLink::initTestCase() {
    // A display of the test's own: the clipboard of a desktop the tests run on is left alone.
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
        QSKIP("Xvfb is not installed: the display's clipboard cannot be tried");
    }
    // The server picks a free display and says which once it takes connections.
    server_.start(xvfb,
                  {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                   QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                   QStringLiteral("64x64x24")});
    QVERIFY(server_.waitForStarted());
    while (!server_.canReadLine() && server_.waitForReadyRead(10000)) {
    }
    const QByteArray number = server_.readLine().trimmed();
    QVERIFY2(!number.isEmpty(), "Xvfb did not start");
    display_ = ":" + number;
    qputenv("DISPLAY", display_);
}

void TestX11SelectionLink::cleanupTestCase() {
    owner_.reset();
    if (server_.state() != QProcess::NotRunning) {
        server_.terminate();
        server_.waitForFinished();
    }
}

void TestX11SelectionLink::readsAnotherProgramsClipboard_data() {
    QTest::addColumn<bool>("owned");
    QTest::addColumn<Serving>("serving");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("handed");   // bytes handed on
    QTest::addColumn<int>("failure");  // -1: none
    QTest::addColumn<int>("requests"); // the owner had
    QTest::addColumn<int>("stopAt");   // bytes handed on when the user stops it; -1: never

    const int none = -1;
    const int never = -1;
    const int piece = 1 << 20; // what the link reads a property in
    const int part = 65536;    // what the owner sends a part in
    const auto fail = [](AnalysisError error) { return int(error); };
    // First: the owner, once there, stays.
    QTest::newRow("no owner") << false << Serving::Whole << 10 << 0 << fail(AnalysisError::NoText)
                              << 0 << never;
    QTest::newRow("whole, in one read")
        << true << Serving::Whole << 1000 << 1000 << none << 1 << never;
    QTest::newRow("whole, longer than three reads")
        << true << Serving::Whole << 3 * piece + 5 << 3 * piece + 5 << none << 1 << never;
    QTest::newRow("an empty text")
        << true << Serving::Whole << 0 << 0 << fail(AnalysisError::NoText) << 1 << never;
    QTest::newRow("in parts, the last one short")
        << true << Serving::Parts << 5 * part + 3 << 5 * part + 3 << none << 1 << never;
    QTest::newRow("an empty text in parts")
        << true << Serving::Parts << 0 << 0 << fail(AnalysisError::NoText) << 1 << never;
    QTest::newRow("in parts that stop after the first")
        << true << Serving::PartsStop << 5 * part << part << fail(AnalysisError::ReadError) << 1
        << never;
    QTest::newRow("a part that is no text") << true << Serving::PartNoText << 5 * part << part
                                            << fail(AnalysisError::ReadError) << 1 << never;
    QTest::newRow("stopped between parts") << true << Serving::Parts << 5 * part << 2 * part
                                           << fail(AnalysisError::Cancelled) << 1 << 2 * part;
    QTest::newRow("Latin-1 only, handed on as UTF-8")
        << true << Serving::Latin1Only << 0 << 0 << none << 3 << never;
    QTest::newRow("no text where UTF-8 is asked for: the next form")
        << true << Serving::NoTextThenLatin1 << 0 << 0 << none << 3 << never;
    QTest::newRow("no text in any form")
        << true << Serving::RefuseAll << 10 << 0 << fail(AnalysisError::NoText) << 3 << never;
    // Asked once: one wait, not one for every form.
    QTest::newRow("never answers")
        << true << Serving::Silent << 10 << 0 << fail(AnalysisError::NoAnswer) << 1 << never;
    QTest::newRow("stopped while it waits")
        << true << Serving::Silent << 10 << 0 << fail(AnalysisError::Cancelled) << 1 << 0;
}

void TestX11SelectionLink::readsAnotherProgramsClipboard() {
    QFETCH(bool, owned);
    QFETCH(Serving, serving);
    QFETCH(int, size);
    QFETCH(int, handed);
    QFETCH(int, failure);
    QFETCH(int, requests);
    QFETCH(int, stopAt);
    if (display_.isEmpty()) {
        QSKIP("no display");
    }
    std::string text = Text(std::size_t(size));
    std::string expected = text.substr(0, std::size_t(handed));
    if (serving == Serving::Latin1Only || serving == Serving::NoTextThenLatin1) {
        text = "citt\xe0 e caff\xe8";
        expected = "citt\xc3\xa0 e caff\xc3\xa8";
    }
    if (owned && owner_ == nullptr) {
        owner_ = std::make_unique<ClipboardOwner>(display_, std::size_t(65536));
        QVERIFY(owner_->owned());
    }
    if (owner_ != nullptr) {
        owner_->Set(serving, text);
    }
    std::unique_ptr<X11SelectionLink> link = X11SelectionLink::Connect();
    QVERIFY(link != nullptr);
    std::string got;
    int thrown = -1;
    try {
        // Short timeouts: an owner on this machine answers in milliseconds.
        SelectionReader(*link, {500, 20})
            .Read([&got](const unsigned char* data,
                         std::size_t n) { got.append(reinterpret_cast<const char*>(data), n); },
                  [stopAt](std::uint64_t bytes) {
                      return stopAt < 0 || bytes < std::uint64_t(stopAt);
                  });
    } catch (const AnalysisFailure& error) {
        thrown = int(error.kind());
    }
    QCOMPARE(thrown, failure);
    QCOMPARE(got.size(), expected.size());
    QVERIFY(got == expected);
    QCOMPARE(owned ? owner_->requests() : 0, requests);
}

QTEST_GUILESS_MAIN(TestX11SelectionLink)
#include "tst_x11_selection_link.moc"
