// Building the fresh connection model from the borehole files, and the model's own checks.
#include "connect/connection_model.h"

#include "borehole/borehole_record.h"
#include "platform/codepage.h"
#include "platform/messages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <new>

namespace orvo::connect {

namespace {

constexpr const char* kStop = "Stop";

std::string trimmedUtf8(const char* first, const char* last) {
    const char* end = std::find(first, last, '\0');
    while (end != first && end[-1] == ' ')
        --end;
    return platform::cp1251ToUtf8(std::string(first, end));
}

std::string numberText(std::int32_t fileNumber) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.8d", fileNumber);
    return buf;
}

// Position of the name in the list; the list is built from the same names, so it is there.
std::int32_t igeIndex(const std::vector<IgeName>& list, const IgeName& name) {
    const auto it = std::find(list.begin() + 1, list.end(), name);
    return it == list.end() ? 0 : static_cast<std::int32_t>(it - list.begin());
}

// The distinct names in order of first appearance after the blank collar entry.
std::vector<IgeName> distinctIgeList(const std::vector<borehole::Borehole>& files) {
    std::vector<IgeName> list{normaliseIge("")};
    for (const auto& file : files) {
        for (const auto& layer : file.ige) {
            const IgeName name = normaliseIge(layer.ige.bytes());
            if (std::find(list.begin() + 1, list.end(), name) == list.end())
                list.push_back(name);
        }
    }
    return list;
}

SectionBorehole sectionBorehole(std::int32_t fileNumber, const borehole::Borehole& file,
                                const std::vector<IgeName>& list) {
    SectionBorehole b;
    b.fileNumber = fileNumber;
    b.name = file.header.name.raw;
    b.x = hundredths(file.header.x);
    b.y = hundredths(file.header.y);
    b.collarElevation = hundredths(file.header.elevation);
    b.depth = hundredths(file.header.depth);
    b.rowIge.push_back(0);
    b.rowDepth.push_back(0);
    for (const auto& layer : file.ige) {
        b.rowIge.push_back(igeIndex(list, normaliseIge(layer.ige.bytes())));
        b.rowDepth.push_back(hundredths(layer.baseDepth));
    }
    return b;
}

// A section never crosses the same pair of neighbours twice, in either orientation; a borehole
// following itself counts twice because it matches both orientations.
const SectionBorehole* firstRepeatedPair(const std::vector<SectionBorehole>& list) {
    for (std::size_t i = 0; i + 1 < list.size(); ++i) {
        const auto a = list[i].fileNumber;
        const auto b = list[i + 1].fileNumber;
        int count = 0;
        for (std::size_t j = 0; j + 1 < list.size(); ++j) {
            const auto p = list[j].fileNumber;
            const auto q = list[j + 1].fileNumber;
            count += (p == a && q == b) ? 1 : 0;
            count += (p == b && q == a) ? 1 : 0;
        }
        if (count >= 2)
            return &list[i];
    }
    return nullptr;
}

Result<ConnectionModel> buildModel(const platform::WorkFolder& folder, std::int32_t object,
                                   const std::vector<std::int32_t>& fileNumbers) {
    if (fileNumbers.size() < 2)
        return tooFewBoreholesError();
    std::vector<borehole::Borehole> files;
    files.reserve(fileNumbers.size());
    for (const auto number : fileNumbers) {
        auto file = borehole::ReadBorehole(folder, object, number);
        if (!file)
            return unreadableBoreholeError(number, file.error());
        if (file->ige.size() > static_cast<std::size_t>(kMaxLayers))
            return tooManyLayersError(number, file->header.name.utf8Trimmed());
        files.push_back(std::move(*file));
    }
    ConnectionModel model;
    model.igeNumbers = distinctIgeList(files);
    for (std::size_t i = 0; i < files.size(); ++i)
        model.boreholes.push_back(sectionBorehole(fileNumbers[i], files[i], model.igeNumbers));
    for (std::int32_t b = 0; b < model.boreholeCount(); ++b) {
        const auto& hole = model.boreholes[static_cast<std::size_t>(b)];
        for (std::int32_t r = 0; r < hole.rowCount(); ++r) {
            const auto row = static_cast<std::size_t>(r);
            model.points.push_back(
                {PointKind::Borehole, b, hole.rowIge[row], 0, hole.rowDepth[row]});
        }
    }
    if (const auto* pair = firstRepeatedPair(model.boreholes))
        return duplicatePairError(pair[0], pair[1]);
    return model;
}

} // namespace

IgeName normaliseIge(std::string_view cp1251) {
    IgeName name;
    name.fill(' ');
    const auto end = std::find(cp1251.begin(), cp1251.end(), '\0');
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(end - cp1251.begin()), 10);
    for (std::size_t i = 0; i < n; ++i) {
        const char c = cp1251[i];
        name[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return name;
}

std::string SectionBorehole::displayName() const {
    return trimmedUtf8(name.data(), name.data() + name.size());
}

std::int32_t ConnectionModel::rowStride() const {
    std::int32_t stride = 0;
    for (const auto& b : boreholes)
        stride = std::max(stride, b.rowCount());
    return stride;
}

std::int32_t ConnectionModel::boreholePointIndex(std::int32_t b, std::int32_t row) const {
    std::int32_t index = row;
    for (std::int32_t i = 0; i < b; ++i)
        index += boreholes[static_cast<std::size_t>(i)].rowCount();
    return index;
}

std::int32_t ConnectionModel::boreholePointTotal() const {
    return boreholePointIndex(boreholeCount(), 0);
}

Status ConnectionModel::addPoint(const ConnectionPoint& p) {
    if (pointCount() >= pointCapacity())
        return pointCapacityError();
    points.push_back(p);
    return success();
}

Status ConnectionModel::addLine(const ConnectionLine& l) {
    if (lineCount() >= lineCapacity())
        return lineCapacityError();
    lines.push_back(l);
    return success();
}

Error tooFewBoreholesError() {
    return {"В резрезе не может быть\rменьше 2-х выработок", kStop};
}

Error duplicatePairError(const SectionBorehole& a, const SectionBorehole& b) {
    return {"Пара выработок " + a.displayName() + "-" + b.displayName() + "\rпоявляется дважды",
            kStop};
}

Error tooManyLayersError(std::int32_t fileNumber, std::string_view nameUtf8) {
    return {"Выработка " + std::string(nameUtf8) + " (" + numberText(fileNumber) +
                ")\rсодержит больше 99 слоев ИГЭ",
            kStop};
}

Error unreadableBoreholeError(std::int32_t fileNumber, const Error& cause) {
    return {"Не удается прочитать выработку " + numberText(fileNumber) + "\r" + cause.text, kStop};
}

Error pointCapacityError() {
    return {"Превышено допустимое число точек\rсоединений ИГЭ", kStop};
}

Error lineCapacityError() {
    return {"Превышено допустимое число линий\rсоединений ИГЭ", kStop};
}

std::int32_t hundredths(float metres) {
    // In double, so 0.29 stored in single precision gives 28 as the borehole file intends.
    const double v = std::trunc(static_cast<double>(metres) * 100.0);
    if (std::isnan(v))
        return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(v, lo, hi));
}

Result<ConnectionModel> LoadSectionBoreholes(const platform::WorkFolder& folder,
                                             std::int32_t object,
                                             const std::vector<std::int32_t>& fileNumbers) {
    try {
        return buildModel(folder, object, fileNumbers);
    } catch (const std::bad_alloc&) {
        return Error{platform::kNoMemoryText, kStop};
    }
}

} // namespace orvo::connect
