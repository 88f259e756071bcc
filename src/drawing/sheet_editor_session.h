// One run of the sheet editor without its window: the sheet shown, the tool, the selected text,
// moving and hiding texts, the modified flag, saving, and the state of its ten commands; and
// the overlay of the sheet texts it draws over the sheet rendered without them.
#pragma once
#include "drawing/sheet_parts.h"
#include "drawing/sheet_text_layout.h"
#include "drawing/sheet_texts.h"
#include "drawing/sheet_view.h"
#include "platform/message_sink.h"

#include <array>
#include <vector>

namespace orvo::drawing {

inline constexpr const char* kEditorCaption = "Редактирование разреза";
inline constexpr const char* kSaveChangesQuestion = "Сохранить изменения ?";

enum class EditorCommand {
    PageNext,
    PagePrevious,
    ViewPlus,
    ViewMinus,
    ViewAll,
    Select,
    TextVisible,
    TextHidden,
    Save,
    Exit,
};
inline constexpr int kEditorCommandCount = 10;
// "Page next", "Page previos", ... as the toolbar lists them.
const std::array<const char*, kEditorCommandCount>& editorCommandNames();

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

// A text of the current sheet and where the overlay drew it, in sheet pixels.
struct OverlayText {
    std::size_t index = 0; // into the session's texts
    platform::RectF rect;
};

inline constexpr platform::Color kSelectedText{255, 0, 0};
inline constexpr platform::Color kVisibleText{0, 0, 255};
inline constexpr platform::Color kHiddenText{128, 128, 128};

// The overlay of sheet `s.sheet`: a one-pixel black border round the sheet and every text of its
// visible boreholes where the renderer would put it (IGE labels in their boxes), the selected
// text red, visible ones blue, hidden ones grey. Returns what was drawn, for picking.
// `sites` are sheetTextSites(s), which read the borehole files: a window keeps them per sheet.
std::vector<OverlayText> drawSheetOverlay(platform::Canvas& c, const detail::SheetContext& s,
                                          const std::vector<TextSite>& sites, int selected);

class SheetEditorSession {
public:
    enum class Tool { ZoomRectangle = 0, SelectText = 1 };

    SheetEditorSession(std::vector<SheetText> texts, int sheetCount, std::int32_t horizontalScale,
                       std::int32_t verticalScale, double dpiX);

    const std::vector<SheetText>& texts() const { return m_texts; }
    int sheet() const { return m_sheet; }
    int sheetCount() const { return m_sheetCount; }
    Tool tool() const { return m_tool; }
    int selected() const { return m_selected; }
    bool modified() const { return m_modified; }
    SheetView& view() { return m_view; }
    const SheetView& view() const { return m_view; }

    // The overlay of the current sheet, as drawSheetOverlay returned it.
    void setOverlay(std::vector<OverlayText> overlay) { m_overlay = std::move(overlay); }
    const std::vector<OverlayText>& overlay() const { return m_overlay; }

    CommandState state(EditorCommand command) const;
    // Page and view commands, the tools, visibility; Save and Exit have their own calls. Returns
    // true when the sheet changed (the window renders the new one).
    bool run(EditorCommand command);

    // The select tool's press at a sheet point: the first text whose rectangle holds it.
    bool pick(double sheetX, double sheetY);
    // A drag of the selected text by (mx, my) screen pixels at the current zoom.
    void moveSelected(double mx, double my);

    // "Save": WORK.MTX. A failure is reported and the texts stay modified.
    bool save(const platform::WorkFolder& folder, platform::MessageSink& sink);
    // "Exit" or closing: true when the window may close. Modified texts ask "Сохранить
    // изменения ?": Yes saves (and stays when that fails), No discards, Cancel stays.
    bool exit(const platform::WorkFolder& folder, platform::MessageSink& sink);

private:
    void setVisible(std::int32_t visible);
    std::vector<SheetText> m_texts;
    int m_sheetCount;
    std::int32_t m_hs;
    std::int32_t m_vs;
    double m_dpiX;
    int m_sheet = 0;
    Tool m_tool = Tool::ZoomRectangle;
    int m_selected = -1;
    bool m_modified = false;
    SheetView m_view;
    std::vector<OverlayText> m_overlay;
};

} // namespace orvo::drawing
