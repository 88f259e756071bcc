// Building the sheet texts from the borehole files and laying the stored placements over them.
#include "drawing/sheet_texts.h"

#include "borehole/borehole_record.h"
#include "platform/codepage.h"
#include "platform/messages.h"
#include "platform/numbers.h"
#include "store/le_stream.h"
#include "store/store_paths.h"

#include <algorithm>
#include <cmath>

namespace orvo::drawing {

namespace {

std::string trimmedUtf8(const char* begin, const char* end) {
    const auto* zero = std::find(begin, end, '\0');
    std::string s(begin, zero);
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return platform::cp1251ToUtf8(s);
}

void putText(SheetText& t, std::string_view cp1251, std::size_t at, std::size_t width) {
    const auto n = std::min(cp1251.size(), width);
    std::copy_n(cp1251.begin(), n, t.text.begin() + static_cast<std::ptrdiff_t>(at));
}

SheetText layerText(std::int32_t file, float base, std::int32_t type, float dx) {
    SheetText t;
    t.fileNumber = file;
    t.group = 0;
    t.key = base;
    t.type = type;
    t.dx = dx;
    return t;
}

} // namespace

std::string SheetText::shown() const {
    const std::size_t width = type == kWaterLevel ? 10 : text.size();
    return trimmedUtf8(text.data(), text.data() + width);
}

std::string SheetText::date() const {
    return type == kWaterLevel ? trimmedUtf8(text.data() + 10, text.data() + 18) : std::string();
}

SheetTextFile parseSheetTextFile(std::span<const std::uint8_t> bytes) {
    SheetTextFile file;
    if (bytes.size() < 8)
        return file;
    store::LeReader r(bytes);
    file.horizontalScale = r.i32();
    file.verticalScale = r.i32();
    const std::size_t count = (bytes.size() - 8) / SheetTextPlacement::kSize;
    file.placements.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        SheetTextPlacement p;
        p.fileNumber = r.i32();
        p.group = r.i32();
        p.key = r.f32();
        p.type = r.i32();
        p.visible = r.i32();
        p.dx = r.f32();
        p.dy = r.f32();
        file.placements.push_back(p);
    }
    return file;
}

platform::Bytes sheetTextFileBytes(std::int32_t horizontalScale, std::int32_t verticalScale,
                                   const std::vector<SheetText>& texts) {
    platform::Bytes out;
    out.reserve(8 + texts.size() * SheetTextPlacement::kSize);
    store::LeWriter w(out);
    w.i32(horizontalScale);
    w.i32(verticalScale);
    for (const auto& t : texts) {
        w.i32(t.fileNumber);
        w.i32(t.group);
        w.f32(t.key);
        w.i32(t.type);
        w.i32(t.visible);
        w.f32(t.dx);
        w.f32(t.dy);
    }
    return out;
}

std::vector<SheetText> defaultSheetTexts(const platform::WorkFolder& folder, std::int32_t object,
                                         const std::vector<std::int32_t>& boreholes,
                                         std::int32_t horizontalScale) {
    const auto hs = static_cast<float>(horizontalScale);
    std::vector<SheetText> texts;
    for (const auto number : boreholes) {
        const auto b = borehole::ReadBorehole(folder, object, number);
        if (!b)
            continue;
        const float collar = b->header.elevation;
        float previous = 0;
        for (const auto& layer : b->ige) {
            const float base = layer.baseDepth;
            auto label = layerText(number, base, kIgeLabel, 0.0040f * hs);
            label.dy = (base - previous) / 2;
            putText(label, layer.ige.bytes(), 0, 10);
            auto elevation = layerText(number, base, kBaseElevation, 0.0050f * hs);
            putText(elevation, platform::formatFixed(collar - base, 2), 0, 20);
            auto depth = layerText(number, base, kBaseDepth, -0.0020f * hs);
            putText(depth, platform::formatFixed(base, 2), 0, 20);
            texts.insert(texts.end(), {label, elevation, depth});
            previous = base;
        }
        for (const auto& w : b->water) {
            SheetText t;
            t.fileNumber = number;
            t.group = 1;
            t.key = w.depth;
            t.type = kWaterLevel;
            t.dx = -0.0060f * hs;
            putText(t, platform::formatFixed(collar - w.depth, 2), 0, 10);
            putText(t, w.date.bytes(), 10, 8);
            texts.push_back(t);
        }
    }
    return texts;
}

void applyPlacements(std::vector<SheetText>& texts, const SheetTextFile& file,
                     std::int32_t horizontalScale) {
    const bool rescale = file.horizontalScale > 0 && horizontalScale > 0;
    // In floating point: 500 / 1000 in integers would be 0.
    const float factor =
        rescale ? static_cast<float>(horizontalScale) / static_cast<float>(file.horizontalScale)
                : 1.0f;
    for (const auto& p : file.placements) {
        const float dx = p.dx * factor;
        if (!std::isfinite(dx) || !std::isfinite(p.dy) || std::abs(dx) > kMaxOffsetMetres ||
            std::abs(p.dy) > kMaxOffsetMetres)
            continue;
        const auto it = std::find_if(texts.begin(), texts.end(), [&](const SheetText& t) {
            return t.sameIdentity(p.fileNumber, p.group, p.key, p.type);
        });
        if (it == texts.end())
            continue;
        it->visible = p.visible;
        it->dy = p.dy;
        it->dx = dx;
    }
}

std::vector<SheetText> BuildSheetTexts(const platform::WorkFolder& folder,
                                       platform::MessageSink& sink, std::int32_t object,
                                       const std::vector<std::int32_t>& boreholes,
                                       std::optional<std::int32_t> storedSection,
                                       std::int32_t horizontalScale, TextSource source) {
    auto texts = defaultSheetTexts(folder, object, boreholes, horizontalScale);
    std::string path(store::paths::kWorkMtx);
    if (source == TextSource::StoredSection || !folder.exists(path)) {
        if (!storedSection)
            return texts;
        path = store::paths::sectionFile(object, *storedSection, "MTX");
    }
    const auto read = folder.read(path, 64u << 20);
    if (read.state == platform::ReadOutcome::State::Missing)
        return texts;
    if (!read.ok() || read.reachedLimit) {
        sink.report(platform::fileOpenError(folder.resolve(path)));
        return texts;
    }
    const auto file = parseSheetTextFile(read.bytes);
    if (file.placements.empty())
        return texts;
    if (file.horizontalScale <= 0 || file.verticalScale <= 0) {
        sink.show("Warning",
                  std::string(platform::kBadFormatText) + "\r" + folder.resolve(path).string(),
                  platform::Icon::Warning);
        return texts;
    }
    applyPlacements(texts, file, horizontalScale);
    return texts;
}

Status SaveSheetTexts(const platform::WorkFolder& folder, std::int32_t horizontalScale,
                      std::int32_t verticalScale, const std::vector<SheetText>& texts) {
    return folder.writeAtomic(store::paths::kWorkMtx,
                              sheetTextFileBytes(horizontalScale, verticalScale, texts));
}

} // namespace orvo::drawing
