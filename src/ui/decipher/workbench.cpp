#include "workbench.h"

#include "fdecifra.h"
#include "fmain.h"
#include "letter_tally.h"
#include "message_service.h"
#include "platform_services.h"
#include "reference_choice.h"
#include "report_menu.h"
#include "second_pass.h"
#include "source_counter.h"

#include <QAction>

#include <algorithm>
#include <memory>

namespace tallivo {

Workbench::Workbench(FMain& window, ReportMenu& menu, const PlatformServices& services,
                     SourceCounter& counter)
    : QObject(&window)
    , window_(window)
    , menu_(menu)
    , services_(services)
    , counter_(counter) {
    setObjectName(QStringLiteral("workbench"));
    auto* open = new QAction(QStringLiteral("Decifra…"), this);
    open->setObjectName(QStringLiteral("actDecifra"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    open->setShortcutVisibleInContextMenu(true);
    menu_.AddReportAction(open);
    window_.addAction(open);
    connect(open, &QAction::triggered, this, &Workbench::Open);
    connect(&window_, &FMain::analysed, this, [this] {
        if (workbench_ == nullptr || !workbench_->isVisible()) {
            return;
        }
        if (window_.HasReport()) {
            Open();
        } else {
            workbench_->close();
        }
    });
    connect(&menu_.reference(), &ReferenceChoice::changed, this, [this] {
        if (workbench_ != nullptr) {
            ShowLanguages();
        }
    });
}

void Workbench::Open() {
    const std::optional<TextSource>& source = window_.lastSource();
    if (!source || !window_.HasReport()) {
        return;
    }
    // What the worker builds while it reads: the text, its period analysis, and a count of
    // all of it to check against the analysis.
    struct Reading {
        std::shared_ptr<CipherText> text = std::make_shared<CipherText>();
        std::shared_ptr<PeriodAnalysis> periods = std::make_shared<PeriodAnalysis>(20);
        LetterTally tally{};
    };
    auto reading = std::make_shared<Reading>();
    // A file's size is known from the analysis; a text holds at least its letters.
    const auto letters = std::uint64_t(window_.totalLetters());
    reading->text->Reserve(std::size_t(std::max(window_.lastStamp().size, letters)),
                           std::size_t(letters));
    const CountPath path = FastestCountPath();
    counter_.Read(
        &window_, *source,
        [reading, path](const unsigned char* data, std::size_t size) {
            TallyLetters(path, data, size, reading->tally);
            if (!reading->text->truncated()) {
                reading->text->Append(data, size);
                reading->periods->Update(reading->text->letters());
            }
        },
        [this, reading, source = *source](std::optional<FileStamp> stamp) {
            if (!stamp) {
                return; // stopped, or told already
            }
            if (!SameAsAnalysed(window_, services_.messages,
                                QStringLiteral("Impossibile decifrare"), source, *stamp,
                                reading->tally)) {
                return;
            }
            if (reading->text->total() == 0) {
                services_.messages.ShowMessage(
                    &window_,
                    QStringLiteral("Impossibile decifrare:\n%1\nIl testo non contiene lettere.")
                        .arg(source.DisplayName()),
                    QStringLiteral("Tallivo"));
                return;
            }
            if (workbench_ == nullptr) {
                workbench_ = new FDecifra(services_.messages, &window_);
                workbench_->setAttribute(Qt::WA_DeleteOnClose);
            }
            ShowLanguages();
            // The letters in order are needed no more once the repeats are found.
            FDecifra::Work work{source.DisplayName(), reading->text,
                                reading->periods->Coincidences(),
                                reading->periods->Examination(reading->text->letters(), 15)};
            reading->text->ReleaseLetters();
            reading->periods.reset();
            workbench_->SetWork(std::move(work));
            workbench_->show();
            workbench_->raise();
            workbench_->activateWindow();
        });
}

void Workbench::ShowLanguages() {
    std::vector<FDecifra::Language> languages{{QStringLiteral("Italiano"), ItalianFrequencies()},
                                              {QStringLiteral("Inglese"), EnglishFrequencies()}};
    int current = 0;
    const ReferenceChoice& choice = menu_.reference();
    if (choice.kind() == ReferenceChoice::Kind::English) {
        current = 1;
    } else if (choice.kind() == ReferenceChoice::Kind::Text && choice.current()) {
        languages.push_back({choice.current()->name, choice.current()->table});
        current = 2;
    }
    workbench_->SetLanguages(languages, current);
}

} // namespace tallivo
