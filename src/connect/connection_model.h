// The IGE connection model of one section: its boreholes, the IGE number list, the points and the
// boundary lines, built fresh from the borehole files.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::connect {

// Fixed capacities of the stored layout: 100 rows per borehole (its 100-entry row tables), 200
// points and 100 lines per section borehole.
inline constexpr int kMaxRows = 100;
inline constexpr int kMaxLayers = kMaxRows - 1;
inline constexpr int kPointsPerBorehole = 200;
inline constexpr int kLinesPerBorehole = 100;

enum class PointKind : std::int32_t { Borehole = 1, Node = 2, Bend = 3, PinchOut = 4 };
// Values outside the two named ones are kept as stored.
enum class LineStyle : std::int32_t { Straight = 0, Wavy = 1 };

// Ten Windows-1251 characters, upper-cased a-z and padded with spaces.
using IgeName = std::array<char, 10>;
IgeName normaliseIge(std::string_view cp1251);

struct SectionBorehole {
    std::int32_t fileNumber = 0;
    std::array<char, 10> name{}; // as stored in the borehole record, not terminated
    std::int32_t x = 0;          // hundredths of a metre, truncated
    std::int32_t y = 0;
    std::int32_t collarElevation = 0;
    std::int32_t depth = 0;
    // One entry per row: row 0 is the collar (IGE 0, depth 0), row r the base of layer r.
    std::vector<std::int32_t> rowIge;
    std::vector<std::int32_t> rowDepth;

    std::int32_t rowCount() const { return static_cast<std::int32_t>(rowIge.size()); }
    // The name up to its terminator without trailing spaces, in UTF-8, as messages show it.
    std::string displayName() const;
};

struct ConnectionPoint {
    PointKind kind = PointKind::Borehole;
    std::int32_t borehole = 0; // the borehole it lies on, or the left end of its interval
    std::int32_t ref = 0;      // IGE index of a borehole point, parent line of a free point
    std::int32_t offset = 0;   // hundredths of a metre right of the owning borehole
    std::int32_t depth = 0;    // hundredths of a metre below the owning borehole's collar

    bool isFree() const { return kind != PointKind::Borehole; }
    bool operator==(const ConnectionPoint&) const = default;
};

struct ConnectionLine {
    std::int32_t from = 0; // point indices; `from` lies left of or level with `to`
    std::int32_t to = 0;
    LineStyle style = LineStyle::Straight;
    std::int32_t visible = 1;

    bool operator==(const ConnectionLine&) const = default;
};

struct ConnectionModel {
    std::vector<SectionBorehole> boreholes; // section order
    std::vector<IgeName> igeNumbers;        // entry 0 is ten spaces
    std::vector<ConnectionPoint> points;    // borehole points first, then free points
    std::vector<ConnectionLine> lines;

    std::int32_t boreholeCount() const { return static_cast<std::int32_t>(boreholes.size()); }
    std::int32_t igeCount() const { return static_cast<std::int32_t>(igeNumbers.size()); }
    std::int32_t pointCount() const { return static_cast<std::int32_t>(points.size()); }
    std::int32_t lineCount() const { return static_cast<std::int32_t>(lines.size()); }
    // The largest row count of the section: the stride of the stored row matrix.
    std::int32_t rowStride() const;
    std::int32_t pointCapacity() const { return kPointsPerBorehole * boreholeCount(); }
    std::int32_t lineCapacity() const { return kLinesPerBorehole * boreholeCount(); }
    // Index of the borehole point of row `row` of borehole `b`; both must be in range.
    std::int32_t boreholePointIndex(std::int32_t b, std::int32_t row) const;
    std::int32_t boreholePointTotal() const;

    // Appending beyond the capacities is refused, so the model always fits its file.
    Status addPoint(const ConnectionPoint& p);
    Status addLine(const ConnectionLine& l);
};

// Refusals of the model, with the caption "Stop".
Error tooFewBoreholesError();
Error duplicatePairError(const SectionBorehole& a, const SectionBorehole& b);
Error tooManyLayersError(std::int32_t fileNumber, std::string_view nameUtf8);
Error unreadableBoreholeError(std::int32_t fileNumber, const Error& cause);
Error pointCapacityError();
Error lineCapacityError();

// Metres of the borehole file as hundredths, truncated toward zero and clamped to int32.
std::int32_t hundredths(float metres);

// A fresh model of the listed boreholes of the object (file numbers in section order): borehole
// table, IGE list, one borehole point per row, no free points, no lines.
Result<ConnectionModel> LoadSectionBoreholes(const platform::WorkFolder& folder,
                                             std::int32_t object,
                                             const std::vector<std::int32_t>& fileNumbers);

} // namespace orvo::connect
