// orvo render: a section's sheets and legend, rendered as the viewer renders them, written as
// the working folder's metafiles and played into a vector PDF or PNG images.
#include "cli.h"
#include "offscreen.h"

#include "drawing/prepare.h"
#include "drawing/ui/sheet_pictures.h"
#include "platform/message_sink.h"
#include "platform/numbers.h"
#include "platform/work_folder.h"
#include "section/section_record.h"
#include "store/project_store.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <iostream>

namespace orvo::cli {

namespace {

struct RenderArgs {
    std::int32_t object = 0;
    std::int32_t section = 0;
    std::string pdf;
    std::string png;
    int dpi = 300;
    bool texts = true;
};

constexpr const char* kRenderUsage =
    "render OBJ SEC (--pdf FILE | --png DIR) [--dpi N] [--no-texts]";

std::optional<RenderArgs> parseArgs(const std::vector<std::string>& args) {
    RenderArgs a;
    std::vector<std::string> plain;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto& s = args[i];
        const bool hasValue = i + 1 < args.size();
        if (s == "--pdf" && hasValue)
            a.pdf = args[++i];
        else if (s == "--png" && hasValue)
            a.png = args[++i];
        else if (s == "--dpi" && hasValue)
            a.dpi = static_cast<int>(platform::parseWholeNumber(args[++i]));
        else if (s == "--no-texts")
            a.texts = false;
        else if (!s.empty() && s[0] == '-')
            return std::nullopt;
        else
            plain.push_back(s);
    }
    if (plain.size() != 2 || a.pdf.empty() == a.png.empty() || a.dpi < 25 || a.dpi > 1200)
        return std::nullopt;
    a.object = static_cast<std::int32_t>(platform::parseWholeNumber(plain[0]));
    a.section = static_cast<std::int32_t>(platform::parseWholeNumber(plain[1]));
    return a;
}

// SOURCE_DATE_EPOCH (UTC) makes the footer reproducible; otherwise the local time now.
drawing::FooterTime footerTime() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        t = static_cast<std::time_t>(platform::parseWholeNumber(epoch));
        gmtime_r(&t, &tm);
    } else {
        localtime_r(&t, &tm);
    }
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

double millimetres(std::int64_t px, int dpi) {
    return static_cast<double>(px) * 25.4 / dpi;
}

Error writeError(const std::string& file) {
    return {"Ошибка открытия (" + file + ")", "ОШИБКА", false};
}

int writePdf(const platform::WorkFolder& folder, const std::vector<drawing::SheetSize>& sizes,
             const RenderArgs& a) {
    PdfFile pdf;
    pdf.path = a.pdf;
    pdf.creator = QStringLiteral("ORVO-V2.0");
    pdf.dpi = a.dpi;
    for (const drawing::SheetSize& s : sizes) {
        // Exact: a near-standard size would otherwise be snapped to an A format.
        const QPageSize size(QSizeF(millimetres(s.widthPx, a.dpi), millimetres(s.heightPx, a.dpi)),
                             QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
        pdf.pages.emplace_back(size, QPageLayout::Portrait, QMarginsF());
    }
    const Status written = writePdfAtomically(pdf, [&](QPainter& painter, int n) -> Status {
        auto pictures = drawing::LoadSheetPictures(folder, n);
        if (!pictures)
            return pictures.error();
        drawing::PlaySheet(painter, *pictures, 1.0, true);
        return success();
    });
    return written ? kOk : refuse(written.error());
}

int writePngs(const platform::WorkFolder& folder, const std::vector<drawing::SheetSize>& sizes,
              const RenderArgs& a) {
    std::error_code ec;
    std::filesystem::create_directories(a.png, ec);
    for (std::size_t n = 0; n < sizes.size(); ++n) {
        auto pictures = drawing::LoadSheetPictures(folder, static_cast<int>(n));
        if (!pictures)
            return refuse(pictures.error());
        QImage image(static_cast<int>(sizes[n].widthPx), static_cast<int>(sizes[n].heightPx),
                     QImage::Format_RGB32);
        if (image.isNull())
            return refuse({"Недостаточно памяти", "ОШИБКА", false});
        image.setDotsPerMeterX(static_cast<int>(a.dpi / 0.0254));
        image.setDotsPerMeterY(static_cast<int>(a.dpi / 0.0254));
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            drawing::PlaySheet(painter, *pictures, 1.0, true);
        }
        char name[32];
        std::snprintf(name, sizeof name, "sheet%3.3d.png", static_cast<int>(n));
        const auto file = (std::filesystem::path(a.png) / name).string();
        // Encoded in memory, then put in place whole.
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG") ||
            !platform::replaceFile(file, platform::Bytes(png.begin(), png.end())))
            return refuse(writeError(file));
    }
    return kOk;
}

} // namespace

int cmdRender(const Context& ctx) {
    const auto a = parseArgs(ctx.args);
    if (!a)
        return usage(kRenderUsage);
    platform::WorkFolder folder(ctx.dir);
    store::ProjectStore store(folder);
    const auto section = storedSection(ctx, folder, a->object, a->section);
    if (!section)
        return refuse(section.error());
    platform::StreamMessageSink sink(std::cerr, platform::Answer::No);
    const auto prepared = drawing::PrepareSectionDrawing(
        store, sink, a->object, a->section, *section, drawing::TextSource::StoredSection);
    if (!prepared)
        return kRefused;
    auto app = startOffscreen();
    drawing::PictureSheetSink pictures(folder, a->dpi, a->dpi);
    drawing::NoProgress progress;
    const auto sizes =
        drawing::RenderSection(folder, prepared->input, pictures, progress, a->texts, footerTime());
    drawing::FinishSectionDrawing(folder, *prepared);
    if (!pictures.status())
        return refuse(pictures.status().error());
    const int rc = a->pdf.empty() ? writePngs(folder, sizes, *a) : writePdf(folder, sizes, *a);
    if (rc != kOk)
        return rc;
    for (std::size_t n = 0; n < sizes.size(); ++n)
        printRow(static_cast<int>(n),
                 {std::to_string(sizes[n].widthPx), std::to_string(sizes[n].heightPx),
                  platform::formatFixed(millimetres(sizes[n].widthPx, a->dpi), 1) + "x" +
                      platform::formatFixed(millimetres(sizes[n].heightPx, a->dpi), 1)});
    return kOk;
}

} // namespace orvo::cli
