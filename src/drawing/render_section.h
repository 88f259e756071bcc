// Rendering a prepared section into its sheets: per sheet a drawing (P) and its IGE hatching (H)
// to be played under it, then the legend sheet.
#pragma once
#include "connect/connection_model.h"
#include "dict/drawing_form.h"
#include "dict/ige_description.h"
#include "drawing/sheet_texts.h"
#include "platform/canvas.h"
#include "platform/work_folder.h"
#include "section/ige_list.h"
#include "section/layout_check.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvo::drawing {

// Everything a rendering needs, held by the caller while it runs (see PrepareSectionDrawing).
struct SectionDrawingInput {
    std::int32_t object = 0;
    std::optional<std::int32_t> storedSection; // none for a section being created
    section::SectionLayout layout;
    connect::ConnectionModel model;
    section::IgeList igeList;
    std::vector<dict::IgeDescriptionRecord> standardIges; // OIE.sps
    std::vector<SheetText> texts;
    dict::DrawingForm form;
    std::string objectFullName; // UTF-8
    std::string objectContract;
};

// The two canvases of one sheet; H is played first, P over it.
struct SheetCanvases {
    platform::Canvas& p;
    platform::Canvas& h;
};

// Where the sheets go: QPicture files, a PDF, recordings for tests. Sheets come in order:
// section sheets 0 .. sheetCount - 1, then the legend as number sheetCount.
class SheetSink {
public:
    virtual ~SheetSink() = default;
    // Resolution of the reference device, dots per inch.
    virtual double dpiX() const = 0;
    virtual double dpiY() const = 0;
    virtual SheetCanvases beginSheet(int number) = 0;
    // The sheet's size in pixels of the reference device; the legend knows it only when done.
    virtual void endSheet(int number, std::int64_t widthPx, std::int64_t heightPx) = 0;
};

// The three bars of the panel "Построение разреза".
class RenderProgress {
public:
    virtual ~RenderProgress() = default;
    virtual void sheet(int index, int count) = 0; // "Формируется лист №" m + 1 of count
    virtual void borehole(int index, int count) = 0; // "- атрибуты выработок"
    virtual void hatching(int index, int count) = 0; // "- штриховка ИГЭ листа"
    virtual void finished() = 0;
};

class NoProgress : public RenderProgress {
public:
    void sheet(int, int) override {}
    void borehole(int, int) override {}
    void hatching(int, int) override {}
    void finished() override {}
};

// The local time the footer shows.
struct FooterTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
// "ORVO-V2.0      %d-%2.2d-%d %d:%2.2d:%2.2d      Tarvel" (day, month, year, time).
std::string footerText(const FooterTime& t);

struct SheetSize {
    std::int64_t widthPx = 0;
    std::int64_t heightPx = 0;
};

// Font `role` (0..5) of the form: em height size × dpiY / 72 pixels, bold for styles 1 and 3,
// italic for 2 and 3, the face without trailing spaces.
platform::Font formFont(const dict::DrawingForm& form, int role, double dpiY);
// Font 1's face at 6 points, weight 200, italic.
platform::Font footerFont(const dict::DrawingForm& form, double dpiY);

// Renders every sheet and the legend into the sink; `withTexts` false leaves the sheet texts out
// (the sheet editor draws them itself). Returns the sizes, the legend's last.
std::vector<SheetSize> RenderSection(const platform::WorkFolder& folder,
                                     const SectionDrawingInput& input, SheetSink& sink,
                                     RenderProgress& progress, bool withTexts,
                                     const FooterTime& time);

// The legend sheet alone, numbered `number`; returns its size.
SheetSize RenderLegend(const platform::WorkFolder& folder, const SectionDrawingInput& input,
                       SheetSink& sink, int number, const FooterTime& time);

} // namespace orvo::drawing
