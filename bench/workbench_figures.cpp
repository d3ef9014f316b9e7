#include "workbench_figures.h"

#include "analysis_model.h"
#include "cipher_text.h"
#include "fdecifra.h"
#include "key_mapping.h"
#include "key_search.h"
#include "median_time.h"
#include "message_service.h"
#include "periodic_key.h"
#include "reference_frequencies.h"
#include "text_statistics.h"

#include <QEventLoop>
#include <QSpinBox>

#include <cstdio>
#include <fstream>
#include <functional>
#include <numeric>

namespace tallivo {

namespace {

// The median in milliseconds of runs calls of work, each told its run's number.
double MedianMilliseconds(int runs, const std::function<void(int)>& work) {
    int run = 0;
    return 1000.0 * MedianSeconds(runs, [&] { work(run++); });
}

// What every change of key works out besides the mapped text.
double Figures(const std::vector<std::int32_t>& counts) {
    const std::int32_t total = std::accumulate(counts.begin(), counts.end(), std::int32_t{0});
    return IndexOfCoincidence(counts, total).value_or(0.0) +
           ChiSquare(counts, total, ItalianFrequencies());
}

} // namespace

bool RunWorkbenchBenchmark(const std::string& fileName, MessageService& messages) {
    std::ifstream in(fileName, std::ios::binary);
    std::string bytes(CipherText::kWorkLimit, '\0');
    in.read(bytes.data(), std::streamsize(bytes.size()));
    bytes.resize(std::size_t(in.gcount()));
    if (bytes.size() < (std::size_t{1} << 20)) {
        std::fprintf(stderr, "tallivo_bench: the sample text is too short for the workbench\n");
        return false;
    }
    const auto text = std::make_shared<const CipherText>(bytes);
    std::string plain;
    double sink = 0.0;

    const double caesar = MedianMilliseconds(9, [&](int run) {
        const int shift = 1 + run % 25;
        sink += Figures(ShiftedCounts(text->counts(), shift));
        MapBytes(text->bytes(), ShiftTable(shift), plain);
    });
    SubstitutionKey key = SubstitutionKey::ByFrequency(text->counts(), ItalianFrequencies());
    const double substitution = MedianMilliseconds(9, [&](int run) {
        key.Assign(run % 26, SubstitutionKey::kNone);
        sink += Figures(SubstitutedCounts(text->counts(), key));
        MapBytes(text->bytes(), SubstitutionTable(key, 1), plain);
    });
    const std::vector<std::vector<std::int32_t>> columns = ColumnCounts(text->bytes(), 6);
    std::vector<int> shifts{2, 7, 8, 0, 21, 4};
    const double vigenere = MedianMilliseconds(9, [&](int run) {
        shifts[std::size_t(run % 6)] = run % 26;
        sink += Figures(ShiftedColumnCounts(columns, shifts));
        ApplyShifts(text->bytes(), shifts, plain);
    });
    std::uint64_t distances = 0;
    const double periods = MedianMilliseconds(3, [&](int) {
        PeriodAnalysis analysis(kPeriodLimit); // as the workbench builds it
        analysis.Update(text->letters());
        sink += analysis.Coincidences().front();
        distances = analysis.Examination(text->letters(), 15).distances;
    });
    std::printf("workbench on %.1f MiB (%d letters): key change %.1f ms (shift), %.1f ms "
                "(substitution), %.1f ms (keyword); period table and Kasiski, periods 1-%d: "
                "%.0f ms (%llu distances)\n",
                double(bytes.size()) / (1 << 20), text->total(), caesar, substitution, vigenere,
                kPeriodLimit, periods, static_cast<unsigned long long>(distances));

    // Through the window: the change of shift as the student makes it, up to the pane redrawn.
    for (const std::size_t size : {std::size_t{1} << 20, bytes.size()}) {
        const std::string part = bytes.substr(0, size);
        Analysis analysis;
        analysis.text = std::make_shared<const CipherText>(part);
        analysis.counts = analysis.text->counts();
        analysis.total = analysis.text->total();
        analysis.ngrams = std::make_shared<NGramCounter>();
        AnalysisModel model;
        model.SetResult({QStringLiteral("bench"), true, analysis});
        FDecifra window(model, messages);
        window.show();
        window.ShowPage(QStringLiteral("cesare")); // the frame shows the page in view's plaintext
        auto* spin = window.findChild<QSpinBox*>(QStringLiteral("spnSpostamento"));
        // Up to the plaintext in the pane, whether it was built at once or beside the window.
        const double change = MedianMilliseconds(5, [&](int run) {
            QEventLoop shown;
            QObject::connect(&window, &FDecifra::plainTextShown, &shown, &QEventLoop::quit,
                             Qt::QueuedConnection);
            spin->setValue(1 + run);
            shown.exec();
            window.repaint();
        });
        if (window.PlainText().size() < qsizetype(part.size() / 2)) {
            std::fprintf(stderr, "tallivo_bench: the workbench shows too little text\n");
            return false;
        }
        std::printf("workbench window, %.0f MiB: a change of shift, pane redrawn: %.0f ms\n",
                    double(size) / (1 << 20), change);
    }
    return sink != -1.0;
}

} // namespace tallivo
