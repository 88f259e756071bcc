// orvo's borehole data sheet commands: the sheet printed to PDF on the offscreen platform, and
// the text export written unchanged to stdout or a file.
#include "cli.h"
#include "offscreen.h"

#include "borehole/borehole_record.h"
#include "datasheet/sheet_data.h"
#include "datasheet/sheet_layout.h"
#include "datasheet/text_export.h"
#include "datasheet/ui/sheet_print.h"
#include "platform/numbers.h"
#include "platform/work_folder.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>

#include <filesystem>
#include <iostream>
#include <optional>

namespace orvo::cli {

namespace {

constexpr int kPdfDpi = 600;

// A whole number made of digits only.
std::optional<int> wholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return static_cast<int>(platform::parseWholeNumber(text));
}

struct SheetArgs {
    std::int32_t object = 0;
    std::int32_t number = 0;
    int parts = datasheet::kAllParts;
    bool oem = false;
    std::string out;   // -o FILE or --pdf FILE
    int firstPage = 1; // --pages A-B
    int lastPage = 0;  // 0: to the last page
};

// Parses "OBJ NUM" and the options; "" when they are fine, else why not.
std::string parseArgs(const Context& ctx, bool pdf, SheetArgs& a) {
    const auto& args = ctx.args; // args[0] is the subcommand
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--parts" && hasValue) {
            const auto n = wholeNumber(args[++i]);
            if (!n || *n > 15)
                return "--parts takes 0..15";
            a.parts = *n;
        } else if (!pdf && arg == "--oem") {
            a.oem = true;
        } else if (!pdf && arg == "-o" && hasValue) {
            a.out = args[++i];
        } else if (pdf && arg == "--pdf" && hasValue) {
            a.out = args[++i];
        } else if (pdf && arg == "--pages" && hasValue) {
            const std::string range = args[++i];
            const auto dash = range.find('-');
            const auto from = wholeNumber(range.substr(0, dash));
            const auto to = dash == std::string::npos ? from : wholeNumber(range.substr(dash + 1));
            if (!from || !to || *from < 1 || *to < *from)
                return "--pages takes A-B with 1 <= A <= B";
            a.firstPage = *from;
            a.lastPage = *to;
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown option " + arg;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 2)
        return pdf ? "borehole sheet OBJ NUM --pdf FILE [--parts N] [--pages A-B]"
                   : "borehole text OBJ NUM [--oem] [--parts N] [-o FILE]";
    if (pdf && a.out.empty())
        return "borehole sheet needs --pdf FILE";
    const auto object = wholeNumber(positional[0]);
    const auto number = wholeNumber(positional[1]);
    if (!object || !number)
        return "OBJ and NUM are whole numbers";
    a.object = *object;
    a.number = *number;
    return {};
}

// The stored borehole, as stored (not validated), with the dictionaries it names.
Result<datasheet::SheetSource> readSource(const Context& ctx, const SheetArgs& a, bool needLayout) {
    platform::WorkFolder folder(ctx.dir);
    if (!folder.isFolder("DATA"))
        return noDatabase(ctx);
    auto b = borehole::ReadBorehole(folder, a.object, a.number);
    if (!b)
        return b.error();
    datasheet::SheetSource source;
    if (needLayout) {
        auto layout = datasheet::ReadSheetLayout(folder);
        if (!layout)
            return layout.error();
        source.layout = *layout;
    }
    source.data = datasheet::sheetDataOf(*b);
    source.names = datasheet::SheetNames::read(folder);
    source.parts = a.parts;
    return source;
}

} // namespace

int boreholeText(const Context& ctx) {
    SheetArgs a;
    if (auto why = parseArgs(ctx, false, a); !why.empty())
        return usage(why);
    auto source = readSource(ctx, a, false);
    if (!source)
        return refuse(source.error());
    const auto charset = a.oem ? datasheet::Charset::Oem : datasheet::Charset::Ansi;
    if (!a.out.empty()) {
        if (auto st =
                datasheet::ExportBoreholeText(charset, a.parts, a.out, source->data, source->names);
            !st)
            return refuse(st.error());
        return kOk;
    }
    std::cout << datasheet::boreholeTextBytes(source->data, source->names, a.parts, charset);
    std::cout.flush();
    return std::cout ? kOk : kRefused;
}

int boreholeSheet(const Context& ctx) {
    SheetArgs a;
    if (auto why = parseArgs(ctx, true, a); !why.empty())
        return usage(why);
    auto source = readSource(ctx, a, true);
    if (!source)
        return refuse(source.error());
    auto app = startOffscreen();
    int pages = 0;
    const QPicture picture = datasheet::RenderSheetPicture(*source, pages);
    const int last = a.lastPage == 0 ? pages : std::min(a.lastPage, pages);
    if (a.firstPage > last)
        return refuse({"В листе данных " + std::to_string(pages) + " стр.; страниц " +
                           std::to_string(a.firstPage) + "-" + std::to_string(a.lastPage) + " нет",
                       "Ошибка", false});
    PdfFile pdf;
    pdf.path = a.out;
    pdf.title = QString::fromUtf8(datasheet::kPrintJobName);
    pdf.creator = QStringLiteral("Orvo2");
    pdf.dpi = kPdfDpi;
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
    pdf.pages.assign(static_cast<std::size_t>(last - a.firstPage + 1), a4);
    const Status written = writePdfAtomically(pdf, [&](QPainter& painter, int index) {
        datasheet::PaintSheetPage(painter, *painter.device(), picture, a.firstPage + index);
        return success();
    });
    return written ? kOk : refuse(written.error());
}

} // namespace orvo::cli
