#include "analysis_error.h"
#include "selection_reader.h"

#include <QTest>

#include <deque>
#include <map>

using namespace tallivo;

Q_DECLARE_METATYPE(tallivo::AnalysisError)

namespace {

// How a scripted owner answers a request for one form of its text.
struct Answer {
    enum class Way {
        Refuse,      // has no text in this form
        Silent,      // never answers
        Whole,       // writes the text whole
        Parts,       // writes it in parts, then the empty part
        PartsLost,   // writes some parts, then the display goes
        NotText,     // writes something that is no text
        PartNotText, // starts in parts, then writes something that is no text
    };
    Way way = Way::Refuse;
    std::vector<std::string> parts; // Whole: the pieces the link reads the property in
};

// The owner of a selection as a test scripts it, behind the link the reader talks through.
class ScriptedOwner : public SelectionLink {
public:
    bool HasOwner() override { return true; }

    void Request(SelectionTarget target) override {
        requests.push_back(target);
        answer_ = answers.count(target) != 0 ? answers.at(target) : Answer{};
        next_ = 0;
        switch (answer_.way) {
        case Answer::Way::Refuse:
            events_.push_back(SelectionEvent::Refused);
            break;
        case Answer::Way::Silent:
            break;
        default:
            // The property is written before the answer is sent, as owners do.
            events_.push_back(SelectionEvent::NewValue);
            events_.push_back(SelectionEvent::Converted);
        }
    }

    std::optional<SelectionEvent> Wait(int timeoutMs) override {
        ++waits;
        waited += timeoutMs;
        if (events_.empty()) {
            return std::nullopt;
        }
        const SelectionEvent event = events_.front();
        events_.pop_front();
        return event;
    }

    PropertyKind Take(const PieceSink& piece) override {
        ++takes;
        switch (answer_.way) {
        case Answer::Way::Whole:
            for (const std::string& part : answer_.parts) {
                piece(part);
            }
            return PropertyKind::Text;
        case Answer::Way::NotText:
            return PropertyKind::Other;
        default:
            break;
        }
        // In parts: the first property promises them, each later one is the next part.
        const bool first = next_ == 0;
        const std::size_t part = next_++;
        if (!first && answer_.way == Answer::Way::PartNotText) {
            return PropertyKind::Other;
        }
        if (!first) {
            piece(part - 1 < answer_.parts.size() ? answer_.parts[part - 1] : std::string());
        }
        if (part < answer_.parts.size() || answer_.way == Answer::Way::Parts) {
            if (part <= answer_.parts.size()) {
                events_.push_back(SelectionEvent::NewValue);
            }
        } else if (answer_.way == Answer::Way::PartsLost) {
            events_.push_back(SelectionEvent::Lost);
        }
        return first ? PropertyKind::Incremental : PropertyKind::Text;
    }

    std::map<SelectionTarget, Answer> answers;
    std::vector<SelectionTarget> requests;
    int waits = 0;
    int waited = 0; // ms
    int takes = 0;

private:
    Answer answer_;
    std::size_t next_ = 0;
    std::deque<SelectionEvent> events_;
};

using Targets = std::vector<SelectionTarget>;

} // namespace

Q_DECLARE_METATYPE(Answer)

class TestSelectionReader : public QObject {
    Q_OBJECT

private slots:
    void readsWhatTheOwnerSends_data();
    void readsWhatTheOwnerSends();
    void anOwnerThatNeverAnswersCostsOneTimeout();
    void stopsWhenAskedWhileWaitingAndBetweenParts();
};

void TestSelectionReader::readsWhatTheOwnerSends_data() {
    QTest::addColumn<Answer>("utf8");
    QTest::addColumn<Answer>("latin1");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("failure"); // -1: none
    QTest::addColumn<int>("requests");

    using W = Answer::Way;
    const Answer refuse{W::Refuse, {}};
    const int none = -1;
    const auto fail = [](AnalysisError error) { return int(error); };
    QTest::newRow("whole, read in several pieces")
        << Answer{W::Whole, {"ab", "c", "", "de"}} << refuse << QByteArray("abcde") << none << 1;
    QTest::newRow("only Latin-1, in parts") << refuse << Answer{W::Parts, {"citt\xe0", "\xe8"}}
                                            << QByteArray("citt\xc3\xa0\xc3\xa8") << none << 3;
    QTest::newRow("no text where UTF-8 is asked for: the next form")
        << Answer{W::NotText, {}} << Answer{W::Whole, {"x"}} << QByteArray("x") << none << 3;
    QTest::newRow("no text in any form")
        << refuse << refuse << QByteArray() << fail(AnalysisError::NoText) << 3;
    QTest::newRow("an empty text")
        << Answer{W::Whole, {""}} << refuse << QByteArray() << fail(AnalysisError::NoText) << 1;
    QTest::newRow("an empty text in parts")
        << Answer{W::Parts, {}} << refuse << QByteArray() << fail(AnalysisError::NoText) << 1;
    QTest::newRow("the display goes between parts")
        << Answer{W::PartsLost, {"ab"}} << refuse << QByteArray("ab")
        << fail(AnalysisError::ReadError) << 1;
    QTest::newRow("a part that is no text") << Answer{W::PartNotText, {"ab"}} << refuse
                                            << QByteArray() << fail(AnalysisError::ReadError) << 1;
}

void TestSelectionReader::readsWhatTheOwnerSends() {
    QFETCH(Answer, utf8);
    QFETCH(Answer, latin1);
    QFETCH(QByteArray, text);
    QFETCH(int, failure);
    QFETCH(int, requests);

    ScriptedOwner owner;
    owner.answers[SelectionTarget::Utf8] = utf8;
    owner.answers[SelectionTarget::Latin1] = latin1;
    QByteArray handed;
    std::vector<std::uint64_t> progress;
    const BlockSink sink = [&handed](const unsigned char* data, std::size_t size) {
        QVERIFY(size > 0); // an empty piece is no block
        handed.append(reinterpret_cast<const char*>(data), qsizetype(size));
    };
    int thrown = -1;
    try {
        SelectionReader(owner).Read(sink, [&](std::uint64_t bytes) {
            progress.push_back(bytes);
            return true;
        });
    } catch (const AnalysisFailure& error) {
        thrown = int(error.kind());
    }
    QCOMPARE(thrown, failure);
    QCOMPARE(handed, text);
    QCOMPARE(int(owner.requests.size()), requests);
    // Progress never goes back and never runs ahead of what was handed on.
    QVERIFY(std::is_sorted(progress.begin(), progress.end()));
    QVERIFY(progress.empty() || progress.back() <= std::uint64_t(handed.size()));
    if (failure == -1) {
        QCOMPARE(progress.back(), std::uint64_t(handed.size()));
    }
}

void TestSelectionReader::anOwnerThatNeverAnswersCostsOneTimeout() {
    ScriptedOwner owner;
    owner.answers[SelectionTarget::Utf8] = Answer{Answer::Way::Silent, {}};
    owner.answers[SelectionTarget::Latin1] = Answer{Answer::Way::Whole, {"never asked"}};
    int asked = 0;
    try {
        SelectionReader(owner, {5000, 50})
            .Read([](const unsigned char*, std::size_t) {},
                  [&asked](std::uint64_t) { return ++asked > 0; });
        QFAIL("a silent owner gave a text");
    } catch (const AnalysisFailure& error) {
        QCOMPARE(error.kind(), AnalysisError::NoAnswer);
    }
    // One request, one toolkit timeout in slices, the user asked between them.
    QCOMPARE(owner.requests, Targets{SelectionTarget::Utf8});
    QCOMPARE(owner.waited, 5000);
    QCOMPARE(owner.waits, 100);
    QVERIFY(asked >= 99);
}

void TestSelectionReader::stopsWhenAskedWhileWaitingAndBetweenParts() {
    for (const int goOn : {0, 3, 5}) {
        ScriptedOwner owner;
        owner.answers[SelectionTarget::Utf8] =
            goOn == 0 ? Answer{Answer::Way::Silent, {}}
                      : Answer{Answer::Way::Parts, {"a", "b", "c", "d", "e", "f"}};
        int asked = 0;
        QByteArray handed;
        try {
            SelectionReader(owner).Read(
                [&handed](const unsigned char* data, std::size_t size) {
                    handed.append(reinterpret_cast<const char*>(data), qsizetype(size));
                },
                [&](std::uint64_t) { return asked++ < goOn; });
            QFAIL("the transfer went on after the stop");
        } catch (const AnalysisFailure& error) {
            QCOMPARE(error.kind(), AnalysisError::Cancelled);
        }
        // Stopped at once: the silent owner waited on for one slice only, the parts no further.
        QCOMPARE(asked, goOn + 1);
        QVERIFY(owner.waits <= goOn + 2);
        QVERIFY(handed.size() <= goOn);
    }
}

QTEST_APPLESS_MAIN(TestSelectionReader)
#include "tst_selection_reader.moc"
