// Fuzzes the connection file reader and the merge of a stored file into a fresh three-borehole
// section.
#include "borehole/borehole_record.h"
#include "connect/connection_file.h"
#include "connect/reconcile.h"
#include "fuzz_folder.h"
#include "store/store_paths.h"

namespace {

void putBorehole(orvo::fuzz::Folder& f, std::int32_t number, float x,
                 const std::vector<std::pair<const char*, float>>& layers) {
    auto b = orvo::borehole::newBorehole(number);
    b.header.name.set(std::string(1, static_cast<char>('A' + number - 1)));
    b.header.x = x;
    b.header.depth = layers.back().second;
    for (const auto& [ige, depth] : layers) {
        orvo::borehole::IgeLayer l;
        l.ige.set(ige);
        l.baseDepth = depth;
        b.ige.push_back(l);
    }
    const auto bytes = orvo::borehole::boreholeBytes(b);
    f.put("DATA/00001.OBJ/0000000" + std::to_string(number) + ".SKV", bytes.data(), bytes.size());
}

orvo::fuzz::Folder& section() {
    static bool ready = false;
    auto& f = orvo::fuzz::folder();
    if (!ready) {
        putBorehole(f, 1, 0.0f, {{"1", 2.0f}, {"2", 4.0f}});
        putBorehole(f, 2, 10.0f, {{"1", 3.0f}});
        putBorehole(f, 3, 20.0f, {{"1", 2.5f}, {"3", 5.0f}});
        ready = true;
    }
    return f;
}

// Whatever the merge leaves must be a model its own file can hold and read back.
void checkModel(const orvo::connect::ConnectionModel& m) {
    using namespace orvo::connect;
    if (m.pointCount() > m.pointCapacity() || m.lineCount() > m.lineCapacity())
        __builtin_trap();
    for (const auto& l : m.lines) {
        if (l.from < 0 || l.from >= m.pointCount() || l.to < 0 || l.to >= m.pointCount())
            __builtin_trap();
    }
    for (const auto& p : m.points) {
        if (p.isFree() && (p.ref < 0 || p.ref >= m.lineCount()))
            __builtin_trap();
    }
    const auto bytes = connectionBytes(m);
    auto back = parseConnections(bytes, "WORK.SLO");
    if (!back || connectionBytes(*back) != bytes)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvo::connect;
    auto& f = section();
    const orvo::platform::Bytes input(data, data + size);
    if (auto parsed = parseConnections(input, "WORK.SLO");
        parsed && connectionBytes(*parsed) != input)
        __builtin_trap(); // whatever is accepted is written back unchanged
    f.put("WORK.SLO", data, size);
    auto model = LoadSectionBoreholes(f.folder, 1, {1, 2, 3});
    if (!model)
        __builtin_trap();
    orvo::platform::RecordingMessageSink sink;
    if (ReconcileConnections(f.folder, sink, *model, 1, 1))
        checkModel(*model);
    (void)ShowChangeReport(f.folder, sink, true);
    return 0;
}
