// The editing operations of the connection editor over a ConnectionModel: screen mapping, hit
// testing, segment drawing, line selection and styling, deletion and point mode.
#pragma once
#include "connect/connection_model.h"
#include "platform/message_sink.h"
#include "platform/result.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvo::connect {

enum class EditMode : std::int32_t { Draw = 0, SelectLine = 1, Point = 2 };

struct ScreenPos {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool operator==(const ScreenPos&) const = default;
};

// Everything the editor remembers between mouse events; a fresh value is the state on opening.
struct EditorState {
    EditMode mode = EditMode::Draw;
    std::int32_t selectedLine = -1;
    std::int32_t selectedPoint = -1; // free points only
    LineStyle currentStyle = LineStyle::Straight;
    std::int32_t currentVisible = 1;
    bool dragging = false;
    std::int32_t startPoint = -1;
    std::int32_t hoverPoint = -1;
    std::int32_t hoverLine = -1;
    bool pointMoved = false;
    std::string status; // the editor's comment line, UTF-8
};

// Placement of the model in the drawing area (already shrunk by the frame margin). Both scales
// are independent so the displayed boreholes fill the middle three quarters either way.
struct ScreenMapping {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t firstShown = 0;
    std::int32_t shown = 0;
    float hScale = 0; // pixels per hundredth of a metre
    float vScale = 0;
    std::vector<std::int32_t> boreX;   // per section borehole
    std::vector<std::int32_t> collarY; // per section borehole
    std::int32_t originX = 0;
    std::int32_t originY = 0;

    ScreenPos pos(const ConnectionPoint& p) const;
    ScreenPos pointPos(const ConnectionModel& m, std::int32_t point) const;
    ScreenPos toScreen(std::int32_t modelX, std::int32_t modelY) const;
    std::int32_t modelX(ScreenPos c) const { return c.x + originX; }
    std::int32_t modelY(ScreenPos c) const { return originY - c.y; }
    // Offset and depth against owning borehole b of a point placed at the cursor.
    std::int32_t offsetAt(std::int32_t b, ScreenPos c) const;
    std::int32_t depthAt(std::int32_t b, ScreenPos c) const;
};

// Refused, with caption "Stop", when the displayed boreholes coincide or have no elevation range
// or the area is too small: the scales would be infinite or zero.
Result<ScreenMapping> MakeScreenMapping(const ConnectionModel& m, std::int32_t width,
                                        std::int32_t height, std::int32_t firstShown,
                                        std::int32_t shown);

std::int32_t pointLineCount(const ConnectionModel& m, std::int32_t point);
// First point (or free point only) within one pixel of the cursor, or -1.
std::int32_t hitPoint(const ConnectionModel& m, const ScreenMapping& map, ScreenPos c,
                      bool freeOnly = false);
// The row of the line from a to b in column x, as hit testing takes it (a vertical line counts
// as one leaning a pixel to the right).
std::int32_t lineRowAt(ScreenPos a, ScreenPos b, std::int32_t x);
// First line whose drawn pixel lies exactly under the cursor, or -1; vertical lines never hit.
std::int32_t hitLine(const ConnectionModel& m, const ScreenMapping& map, ScreenPos c);
// An IGE number as the editor shows it (up to its terminator, no trailing spaces, UTF-8);
// empty for the collar entry or an index outside the list.
std::string igeLabel(const ConnectionModel& m, std::int32_t index);
// The status line text describing a point.
std::string describePoint(const ConnectionModel& m, std::int32_t point);

// The operations return true when they took effect (the model or the selection changed and the
// drawing needs a repaint); the status text is left in state.status.
struct Editor {
    ConnectionModel& model;
    const ScreenMapping& map;
    EditorState& state;

    // Mouse move without a button: point hover in drawing and point mode, line hover otherwise.
    void hover(ScreenPos c);
    bool beginSegment(ScreenPos c);
    bool finishSegment(ScreenPos c);
    bool cancelDrag();
    bool selectLine(ScreenPos c);
    bool nextLine();
    bool previousLine();
    bool setStyle(LineStyle style);
    bool setVisible(std::int32_t visible);
    bool deleteLine();
    bool deleteAllLines(platform::MessageSink& sink);
    bool beginMove(ScreenPos c);
    bool moveTo(ScreenPos c);
    bool endMove();
    bool createBend(ScreenPos c);
    bool deletePoint();
    bool setMode(EditMode mode);

private:
    void hoverLine(ScreenPos c);
    void hoverPoint(ScreenPos c);
    bool checkEnd(std::int32_t p, std::int32_t otherX);
    void removeLine(std::int32_t line, std::int32_t& tracked);
    void normalise(std::int32_t line);
};

} // namespace orvo::connect
