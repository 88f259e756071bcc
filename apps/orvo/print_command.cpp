// orvo print: a section printed through the same path as "Печать..." onto a zero-margin PDF
// printer; orvo texts: the section's sheet texts with their stored placements.
#include "cli.h"
#include "offscreen.h"

#include "drawing/sheet_texts.h"
#include "export/ui/print_section.h"
#include "platform/message_sink.h"
#include "platform/numbers.h"
#include "platform/work_folder.h"
#include "section/section_record.h"
#include "store/project_store.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include <filesystem>
#include <iostream>
#include <sstream>

namespace orvo::cli {

namespace {

constexpr const char* kPrintUsage = "print OBJ SEC --pdf FILE [--page WxH(mm|pt)] [--dpi N] "
                                    "[--sheets LIST] [--marks 0|1|2]";

struct PrintArgs {
    std::int32_t object = 0;
    std::int32_t section = 0;
    std::string pdf;
    QSizeF page{210, 297};
    QPageSize::Unit unit = QPageSize::Millimeter;
    int dpi = 300;
    std::vector<int> sheets; // 1-based; empty: all
    exporter::CutMarks marks = exporter::CutMarks::None;
};

// "297x420mm" or "288x432pt".
bool parsePage(const std::string& text, PrintArgs& a) {
    const auto x = text.find('x');
    if (x == std::string::npos || text.size() < x + 4)
        return false;
    const auto unit = text.substr(text.size() - 2);
    if (unit != "mm" && unit != "pt")
        return false;
    const double w = std::atof(text.substr(0, x).c_str());
    const double h = std::atof(text.substr(x + 1, text.size() - x - 3).c_str());
    if (!(w > 0 && h > 0 && w < 100000 && h < 100000))
        return false;
    a.page = {w, h};
    a.unit = unit == "mm" ? QPageSize::Millimeter : QPageSize::Point;
    return true;
}

bool parseList(const std::string& text, std::vector<int>& out) {
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos)
            return false;
        out.push_back(static_cast<int>(platform::parseWholeNumber(item)));
    }
    return !out.empty();
}

std::optional<PrintArgs> parseArgs(const std::vector<std::string>& args) {
    PrintArgs a;
    std::vector<std::string> plain;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto& s = args[i];
        const bool more = i + 1 < args.size();
        if (s == "--pdf" && more) {
            a.pdf = args[++i];
        } else if (s == "--page" && more) {
            if (!parsePage(args[++i], a))
                return std::nullopt;
        } else if (s == "--dpi" && more) {
            a.dpi = static_cast<int>(platform::parseWholeNumber(args[++i]));
        } else if (s == "--sheets" && more) {
            if (!parseList(args[++i], a.sheets))
                return std::nullopt;
        } else if (s == "--marks" && more) {
            const auto& m = args[++i];
            if (m != "0" && m != "1" && m != "2")
                return std::nullopt;
            a.marks = static_cast<exporter::CutMarks>(m[0] - '0');
        } else if (!s.empty() && s[0] == '-') {
            return std::nullopt;
        } else {
            plain.push_back(s);
        }
    }
    if (plain.size() != 2 || a.pdf.empty() || a.dpi < 25 || a.dpi > 1200)
        return std::nullopt;
    a.object = static_cast<std::int32_t>(platform::parseWholeNumber(plain[0]));
    a.section = static_cast<std::int32_t>(platform::parseWholeNumber(plain[1]));
    return a;
}

bool listed(const PrintArgs& a, int sheet) {
    return a.sheets.empty() ||
           std::find(a.sheets.begin(), a.sheets.end(), sheet + 1) != a.sheets.end();
}

} // namespace

int cmdPrint(const Context& ctx) {
    const auto a = parseArgs(ctx.args);
    if (!a)
        return usage(kPrintUsage);
    platform::WorkFolder folder(ctx.dir);
    store::ProjectStore store(folder);
    const auto section = storedSection(ctx, folder, a->object, a->section);
    if (!section)
        return refuse(section.error());
    auto app = startOffscreen();
    platform::StreamMessageSink sink(std::cerr, platform::Answer::No);
    exporter::PrintHooks hooks;
    // The job goes to a scratch file beside the target, which replaces it only when complete.
    const std::string scratch = a->pdf + ".part";
    hooks.choosePrinter = [&a, &scratch](QWidget*) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(QString::fromStdString(scratch));
        printer->setResolution(a->dpi);
        printer->setFullPage(true);
        // Exact: a near-standard size would otherwise be snapped to an A format.
        printer->setPageLayout(
            QPageLayout(QPageSize(a->page, a->unit, QString(), QPageSize::ExactMatch),
                        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        return printer;
    };
    hooks.pickSheets = [&a](QWidget*, const exporter::PrintPlan& plan) {
        exporter::SheetChoice c;
        for (int i = 0; i < plan.sheetCount(); ++i)
            c.sheets.push_back(listed(*a, i));
        return std::optional(c);
    };
    hooks.pickPages = [&a](QWidget*, exporter::PrintPlan& plan, const platform::WorkFolder&) {
        for (int i = 0; i < plan.sheetCount(); ++i)
            if (!listed(*a, i))
                for (int r = 0; r < plan.ny(); ++r)
                    for (int c = 0; c < plan.nx(); ++c)
                        plan.setSelected(i, r, c, false);
        return std::optional(exporter::PartsChoice{a->marks, false});
    };
    const drawing::DrawingRequest request{a->object, a->section, *section,
                                          drawing::TextSource::StoredSection};
    const auto out = exporter::PrintSection(nullptr, store, sink, request, hooks);
    std::error_code ec;
    if (!out) {
        std::filesystem::remove(scratch, ec);
        return kRefused;
    }
    const auto written = platform::readFile(scratch);
    std::filesystem::remove(scratch, ec);
    if (!written.ok() || !platform::replaceFile(a->pdf, written.bytes))
        return refuse({"Ошибка открытия (" + a->pdf + ")", "ОШИБКА", false});
    std::string perSheet;
    for (const int n : out->pagesPerSheet)
        perSheet += (perSheet.empty() ? "" : ",") + std::to_string(n);
    std::cout << (out->mode == exporter::PrintMode::FullSheet ? "полный лист" : "частями") << '\t'
              << out->printer.pageW << 'x' << out->printer.pageH << '\t' << out->nx << 'x'
              << out->ny << '\t' << perSheet << '\n';
    return kOk;
}

int cmdTexts(const Context& ctx) {
    if (ctx.args.size() != 2)
        return usage("texts OBJ SEC");
    const auto object = static_cast<std::int32_t>(platform::parseWholeNumber(ctx.args[0]));
    const auto number = static_cast<std::int32_t>(platform::parseWholeNumber(ctx.args[1]));
    platform::WorkFolder folder(ctx.dir);
    const auto section = storedSection(ctx, folder, object, number);
    if (!section)
        return refuse(section.error());
    platform::StreamMessageSink sink(std::cerr, platform::Answer::No);
    const auto texts = drawing::BuildSheetTexts(folder, sink, object, section->boreholes, number,
                                                section->header.horizontalScale,
                                                drawing::TextSource::StoredSection);
    for (const auto& t : texts) {
        const std::string text =
            t.type == drawing::kWaterLevel ? t.shown() + " " + t.date() : t.shown();
        std::cout << t.fileNumber << '\t' << t.group << '\t' << platform::formatFixed(t.key, 2)
                  << '\t' << t.type << '\t' << t.visible << '\t' << platform::formatFixed(t.dx, 4)
                  << '\t' << platform::formatFixed(t.dy, 4) << '\t' << text << '\n';
    }
    return kOk;
}

} // namespace orvo::cli
