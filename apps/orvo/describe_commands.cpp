// orvo's hatch and IGE description commands: the two dictionaries, a section's IGE list and the
// hatch test-print page rendered to PDF or PNG on the offscreen platform.
#include "cli.h"
#include "offscreen.h"

#include "dict/hatch.h"
#include "dict/ige_description.h"
#include "platform/numbers.h"
#include "platform/ui/qpainter_canvas.h"
#include "platform/work_folder.h"
#include "section/ige_list.h"

#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

namespace orvo::cli {

namespace {

std::optional<platform::WorkFolder> database(const Context& ctx) {
    platform::WorkFolder folder(ctx.dir);
    if (!folder.isFolder("DATA"))
        return std::nullopt;
    return folder;
}

// The name of a hatch slot as the lists show it, or "" for none.
std::string hatchName(const std::vector<dict::HatchListRecord>& list, std::int32_t slot) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= list.size())
        return {};
    return list[static_cast<std::size_t>(slot)].name.utf8Trimmed();
}

std::optional<int> wholeNumber(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789-") != std::string::npos)
        return std::nullopt;
    return static_cast<int>(platform::parseWholeNumber(text));
}

// The sample page of one hatch painted on `painter` at `dpi`.
void paintSample(QPainter& painter, const platform::WorkFolder& folder,
                 const dict::HatchPattern& pattern, int dpi) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    platform::QPainterCanvas canvas(painter);
    dict::DrawHatchSample(canvas, pattern, dict::LoadHatchSymbols(folder, pattern), dpi);
}

int renderSample(const platform::WorkFolder& folder, const dict::HatchPattern& pattern, bool pdf,
                 const std::string& file, int dpi) {
    auto app = startOffscreen();
    const QString out = QString::fromStdString(file);
    if (pdf) {
        PdfFile sample;
        sample.path = file;
        sample.dpi = dpi;
        sample.pages.emplace_back(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(0, 0, 0, 0));
        const Status written = writePdfAtomically(sample, [&](QPainter& painter, int) {
            paintSample(painter, folder, pattern, dpi);
            return success();
        });
        return written ? kOk : refuse(written.error());
    }
    const QSizeF mm = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    QImage image(static_cast<int>(mm.width() * dpi / 25.4),
                 static_cast<int>(mm.height() * dpi / 25.4), QImage::Format_RGB32);
    if (image.isNull())
        return refuse({"Недостаточно памяти", "ОШИБКА", false});
    image.setDotsPerMeterX(static_cast<int>(dpi / 0.0254));
    image.setDotsPerMeterY(static_cast<int>(dpi / 0.0254));
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintSample(painter, folder, pattern, dpi);
    }
    if (!image.save(out, "PNG"))
        return refuse({"Ошибка открытия (" + file + ")", "ОШИБКА", false});
    return kOk;
}

} // namespace

int dictHatches(const Context& ctx) {
    auto folder = database(ctx);
    if (!folder)
        return refuse(noDatabase(ctx));
    auto list = dict::ReadHatchList(*folder);
    if (!list)
        return refuse(list.error());
    for (std::size_t i = 0; i < list->size(); ++i) {
        if ((*list)[i].used == 0)
            continue;
        auto hatch = dict::LoadHatch(*folder, static_cast<int>(i));
        if (!hatch)
            return refuse(hatch.error());
        printRow(static_cast<int>(i),
                 {hatch->name, std::to_string(hatch->lines.size()),
                  std::to_string(hatch->segments.size()), std::to_string(hatch->symbols.size())});
    }
    return kOk;
}

int dictIge(const Context& ctx) {
    auto folder = database(ctx);
    if (!folder)
        return refuse(noDatabase(ctx));
    auto list = dict::ReadStandardIgeList(*folder);
    if (!list)
        return refuse(list.error());
    for (std::size_t i = 0; i < list->size(); ++i) {
        const auto& r = (*list)[i];
        if (r.flag != 1)
            continue;
        printRow(static_cast<int>(i), {dict::igeNumberText(r.igeNumber), std::to_string(r.hatch),
                                       r.description.utf8Trimmed()});
    }
    return kOk;
}

int cmdIge(const Context& ctx) {
    if (ctx.args.size() != 2)
        return usage("ige OBJ SEC");
    auto folder = database(ctx);
    if (!folder)
        return refuse(noDatabase(ctx));
    const auto object = static_cast<std::int32_t>(platform::parseWholeNumber(ctx.args[0]));
    const auto section = static_cast<std::int32_t>(platform::parseWholeNumber(ctx.args[1]));
    auto iges = section::DescribeSectionIges(*folder, object, section);
    if (!iges)
        return refuse(iges.error());
    auto hatches = dict::ReadHatchList(*folder);
    if (!hatches)
        return refuse(hatches.error());
    for (const auto& ige : *iges)
        std::cout << ige.numberUtf8 << '\t' << (ige.standard ? "standard" : "own") << '\t'
                  << ige.hatch << '\t' << hatchName(*hatches, ige.hatch) << '\t'
                  << ige.descriptionUtf8 << '\n';
    return kOk;
}

int cmdHatch(const Context& ctx) {
    const auto& a = ctx.args;
    if (a.size() < 4 || a[0] != "sample")
        return usage("hatch sample SLOT (--pdf F | --png F) [--dpi N]");
    const auto slot = wholeNumber(a[1]);
    if (!slot || *slot < 0)
        return usage("hatch sample takes a slot number");
    std::optional<bool> pdf;
    std::string file;
    int dpi = 300;
    for (std::size_t i = 2; i < a.size(); i += 2) {
        if (i + 1 >= a.size())
            return usage(a[i] + " takes a value");
        if ((a[i] == "--pdf" || a[i] == "--png") && !pdf) {
            pdf = a[i] == "--pdf";
            file = a[i + 1];
        } else if (a[i] == "--dpi") {
            const auto n = wholeNumber(a[i + 1]);
            if (!n || *n < 10 || *n > 2400)
                return usage("--dpi takes a whole number from 10 to 2400");
            dpi = *n;
        } else {
            return usage("hatch sample SLOT (--pdf F | --png F) [--dpi N]");
        }
    }
    if (!pdf)
        return usage("hatch sample needs --pdf F or --png F");
    auto folder = database(ctx);
    if (!folder)
        return refuse(noDatabase(ctx));
    auto list = dict::ReadHatchList(*folder);
    if (!list)
        return refuse(list.error());
    if (static_cast<std::size_t>(*slot) >= list->size() ||
        (*list)[static_cast<std::size_t>(*slot)].used == 0)
        return refuse(
            {"Вид штриховки " + std::to_string(*slot) + " отсутствует в списке", "Ошибка", false});
    auto hatch = dict::LoadHatch(*folder, *slot);
    if (!hatch)
        return refuse(hatch.error());
    return renderSample(*folder, *hatch, *pdf, file, dpi);
}

} // namespace orvo::cli
