// Printing a large hatched sheet to PDF: the whole sheet on one page against the same sheet
// by parts on a 5 × 2 grid of pages, each page playing only what falls on it.
#include "export/print_plan.h"
#include "platform/ui/picture_play.h"
#include "platform/ui/qpainter_canvas.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>

#include <filesystem>

namespace {

using namespace orvo;

constexpr int kDpi = 300;
constexpr int kWidth = 10000; // pixels at 300 dpi: 847 × 339 mm
constexpr int kHeight = 4000;

// About 100 000 primitives: short hatch strokes over the sheet, with a frame.
const QPicture& sheet() {
    static const QPicture picture = [] {
        QPicture p;
        QPainter painter(&p);
        platform::QPainterCanvas c(painter);
        c.setPen({platform::kBlack, 2, platform::Pen::Style::Solid});
        c.drawRect({0, 0, kWidth, kHeight});
        for (int y = 10; y < kHeight; y += 16)
            for (int x = 10; x < kWidth; x += 25)
                c.drawLine({static_cast<double>(x), static_cast<double>(y)},
                           {static_cast<double>(x + 20), static_cast<double>(y + 8)});
        return p;
    }();
    return picture;
}

QPageLayout pageOf(double w, double h) {
    return QPageLayout(QPageSize(QSizeF(w * 25.4 / kDpi, h * 25.4 / kDpi), QPageSize::Millimeter,
                                 QString(), QPageSize::ExactMatch),
                       QPageLayout::Portrait, {});
}

void BM_PrintWholeSheet(benchmark::State& state) {
    test::TempDir dir;
    const auto file = dir.path() / "whole.pdf";
    for (auto _ : state) {
        QPdfWriter writer(QString::fromStdString(file.string()));
        writer.setResolution(kDpi);
        writer.setPageLayout(pageOf(kWidth, kHeight));
        QPainter painter(&writer);
        benchmark::DoNotOptimize(platform::ui::PlayPicture(painter, sheet(), 1.0));
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}
BENCHMARK(BM_PrintWholeSheet)->Unit(benchmark::kMillisecond);

void BM_PrintByParts(benchmark::State& state) {
    test::TempDir dir;
    const auto file = dir.path() / "parts.pdf";
    const std::int64_t pageW = kWidth / 5 + 2;
    const std::int64_t pageH = kHeight / 2 + 2;
    auto plan =
        exporter::PrintPlan::make({{kWidth, kHeight}}, {pageW, pageH, kDpi, kDpi, "PDF", true});
    if (!plan || plan->selectedPages() != 10) {
        state.SkipWithError("not a 5 × 2 grid");
        return;
    }
    for (auto _ : state) {
        QPdfWriter writer(QString::fromStdString(file.string()));
        writer.setResolution(kDpi);
        writer.setPageLayout(pageOf(static_cast<double>(pageW), static_cast<double>(pageH)));
        // As printing does: the sheet dealt out to its pages once, then each page played.
        std::vector<QRectF> parts;
        for (int r = 0; r < plan->ny(); ++r)
            for (int c = 0; c < plan->nx(); ++c) {
                const auto [x0, y0] = plan->origin(0, r, c);
                parts.emplace_back(static_cast<double>(-x0), static_cast<double>(-y0),
                                   static_cast<double>(pageW), static_cast<double>(pageH));
            }
        const auto pages = platform::ui::SplitPicture(sheet(), parts);
        QPainter painter(&writer);
        std::size_t k = 0;
        for (int r = 0; r < plan->ny(); ++r)
            for (int c = 0; c < plan->nx(); ++c, ++k) {
                if (k > 0)
                    writer.newPage();
                const auto [x0, y0] = plan->origin(0, r, c);
                painter.save();
                painter.translate(static_cast<double>(x0), static_cast<double>(y0));
                benchmark::DoNotOptimize(platform::ui::PlayPicture(painter, pages[k], 1.0));
                painter.restore();
            }
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}
BENCHMARK(BM_PrintByParts)->Unit(benchmark::kMillisecond);

// One replay of the whole picture with nothing visible: the cost each page pays to cull.
void BM_CullEverything(benchmark::State& state) {
    QImage image(100, 100, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        benchmark::DoNotOptimize(
            platform::ui::PlayPicture(painter, sheet(), 1.0, QRectF(-1000, -1000, 10, 10)));
    }
}
BENCHMARK(BM_CullEverything)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
