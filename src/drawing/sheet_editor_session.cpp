// The sheet editor's rules and its overlay.
#include "drawing/sheet_editor_session.h"

#include "drawing/sheet_text_layout.h"

namespace orvo::drawing {

const std::array<const char*, kEditorCommandCount>& editorCommandNames() {
    static const std::array<const char*, kEditorCommandCount> names = {
        "Page next", "Page previos", "View +",          "View -", "View All",
        "Select",    "Text visible", "Text Un-Visible", "Save",   "Exit"};
    return names;
}

std::vector<OverlayText> drawSheetOverlay(platform::Canvas& c, const detail::SheetContext& s,
                                          const std::vector<TextSite>& sites, int selected) {
    std::vector<OverlayText> out;
    c.setBrush({});
    c.setPen({platform::kBlack, 1, platform::Pen::Style::Solid});
    c.drawRect({0, 0, static_cast<double>(s.g.widthPx), static_cast<double>(s.g.heightPx)});
    auto box = detail::linePen(s.g, s.in.form.scaleLine);
    for (const auto& site : sites) {
        const auto& t = s.in.texts[site.index];
        const auto color = static_cast<int>(site.index) == selected ? kSelectedText
                           : t.visible == 1                         ? kVisibleText
                                                                    : kHiddenText;
        const auto l = layoutSheetText(c, s, t, site.columnX, site.half, site.levelY);
        c.setTextColor(color);
        box.color = color;
        c.setPen(box);
        if (t.type == kIgeLabel)
            c.drawRect(l.frame);
        c.drawText(l.box, l.align, t.shown());
        if (t.type == kWaterLevel) {
            c.drawLine(l.lineFrom, l.lineTo);
            c.drawText(l.dateBox, platform::kAlignRight | platform::kAlignTop, t.date());
        }
        out.push_back({site.index, l.frame});
    }
    c.setTextColor(platform::kBlack);
    return out;
}

SheetEditorSession::SheetEditorSession(std::vector<SheetText> texts, int sheetCount,
                                       std::int32_t horizontalScale, std::int32_t verticalScale,
                                       double dpiX)
    : m_texts(std::move(texts)), m_sheetCount(sheetCount), m_hs(horizontalScale),
      m_vs(verticalScale), m_dpiX(dpiX) {}

CommandState SheetEditorSession::state(EditorCommand command) const {
    const bool haveText = m_selected >= 0;
    const bool shown = haveText && m_texts[static_cast<std::size_t>(m_selected)].visible == 1;
    switch (command) {
    case EditorCommand::PageNext:
        return {m_sheet + 1 < m_sheetCount, false};
    case EditorCommand::PagePrevious:
        return {m_sheet > 0, false};
    case EditorCommand::ViewPlus:
        return {true, m_tool == Tool::ZoomRectangle};
    case EditorCommand::ViewMinus:
        return {m_view.canZoomOut(), false};
    case EditorCommand::ViewAll:
        return {m_view.canWholeSheet(), false};
    case EditorCommand::Select:
        return {true, m_tool == Tool::SelectText};
    case EditorCommand::TextVisible:
        return {haveText, shown};
    case EditorCommand::TextHidden:
        return {haveText, haveText && !shown};
    case EditorCommand::Save:
        return {m_modified, false};
    case EditorCommand::Exit:
        return {true, false};
    }
    return {};
}

bool SheetEditorSession::run(EditorCommand command) {
    if (!state(command).enabled)
        return false;
    switch (command) {
    case EditorCommand::PageNext:
    case EditorCommand::PagePrevious:
        m_sheet += command == EditorCommand::PageNext ? 1 : -1;
        m_selected = -1;
        m_overlay.clear();
        return true;
    case EditorCommand::ViewPlus:
        m_tool = Tool::ZoomRectangle;
        m_selected = -1;
        break;
    case EditorCommand::ViewMinus:
        m_view.zoomOut();
        break;
    case EditorCommand::ViewAll:
        m_view.wholeSheet();
        break;
    case EditorCommand::Select:
        m_tool = Tool::SelectText;
        break;
    case EditorCommand::TextVisible:
        setVisible(1);
        break;
    case EditorCommand::TextHidden:
        setVisible(0);
        break;
    case EditorCommand::Save:
    case EditorCommand::Exit:
        break;
    }
    return false;
}

bool SheetEditorSession::pick(double sheetX, double sheetY) {
    m_selected = -1;
    for (const auto& o : m_overlay)
        if (sheetX >= o.rect.x && sheetX <= o.rect.right() && sheetY >= o.rect.y &&
            sheetY <= o.rect.bottom()) {
            m_selected = static_cast<int>(o.index);
            break;
        }
    return m_selected >= 0;
}

void SheetEditorSession::moveSelected(double mx, double my) {
    if (m_selected < 0 || (mx == 0 && my == 0))
        return;
    // Both axes use the screen's horizontal resolution, as stored placements were made.
    const double perMetre = m_dpiX / 254 * m_view.zoom();
    auto& t = m_texts[static_cast<std::size_t>(m_selected)];
    t.dx += static_cast<float>(mx * 0.0001 * m_hs / perMetre);
    t.dy -= static_cast<float>(my * 0.0001 * m_vs / perMetre);
    m_modified = true;
}

void SheetEditorSession::setVisible(std::int32_t visible) {
    if (m_selected < 0)
        return;
    auto& t = m_texts[static_cast<std::size_t>(m_selected)];
    if (t.visible == visible)
        return;
    t.visible = visible;
    m_modified = true;
}

bool SheetEditorSession::save(const platform::WorkFolder& folder, platform::MessageSink& sink) {
    if (auto st = SaveSheetTexts(folder, m_hs, m_vs, m_texts); !st) {
        sink.report(st.error());
        return false;
    }
    m_modified = false;
    return true;
}

bool SheetEditorSession::exit(const platform::WorkFolder& folder, platform::MessageSink& sink) {
    if (!m_modified)
        return true;
    switch (sink.askYesNoCancel(kEditorCaption, kSaveChangesQuestion)) {
    case platform::Answer::Yes:
        return save(folder, sink);
    case platform::Answer::No:
        m_modified = false; // the changes are dropped with the window
        return true;
    case platform::Answer::Cancel:
        return false;
    }
    return false;
}

} // namespace orvo::drawing
