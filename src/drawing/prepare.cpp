// The preparation chain of a section drawing.
#include "drawing/prepare.h"

#include "connect/reconcile.h"
#include "store/store_paths.h"

namespace orvo::drawing {

namespace {

// Refusals come back through the sink; nothing left to draw.
template <class T> bool failed(const Result<T>& r, platform::MessageSink& sink) {
    if (r)
        return false;
    sink.report(r.error());
    return true;
}

} // namespace

std::optional<PreparedSection>
PrepareSectionDrawing(const store::ProjectStore& store, platform::MessageSink& sink,
                      std::int32_t object, std::optional<std::int32_t> storedSection,
                      const section::Section& section, TextSource source) {
    const auto& folder = store.folder();
    PreparedSection out;
    out.hadWorkingConnections = folder.exists(store::paths::kWorkSlo);
    auto& in = out.input;
    in.object = object;
    in.storedSection = storedSection;

    auto layout = section::CheckSectionLayout(folder, object, section);
    if (failed(layout, sink))
        return std::nullopt;
    in.layout = std::move(*layout);
    if (!in.layout.notice.empty())
        sink.show(in.layout.noticeCaption, in.layout.notice, platform::Icon::Information);

    const auto finishEarly = [&]() -> std::optional<PreparedSection> {
        FinishSectionDrawing(folder, out);
        return std::nullopt;
    };
    auto model = connect::LoadSectionBoreholes(folder, object, section.boreholes);
    if (failed(model, sink))
        return finishEarly();
    in.model = std::move(*model);
    if (failed(connect::ReconcileConnections(folder, sink, in.model, object, storedSection), sink))
        return finishEarly();
    if (connect::ShowChangeReport(folder, sink, true))
        return finishEarly();

    auto iges = section::BuildIgeList(folder, object, section.boreholes, storedSection);
    if (failed(iges, sink))
        return finishEarly();
    in.igeList = std::move(*iges);
    if (in.igeList.badDescriptions)
        sink.report(*in.igeList.badDescriptions);
    if (auto standard = dict::ReadStandardIgeList(folder))
        in.standardIges = std::move(*standard);

    in.texts = BuildSheetTexts(folder, sink, object, section.boreholes, storedSection,
                               in.layout.horizontalScale, source);

    auto defaults = store.LoadSectionDefaults();
    if (failed(defaults, sink))
        return finishEarly();
    auto form = dict::ReadDrawingForm(folder, defaults->drawingForm, sink);
    if (failed(form, sink))
        return finishEarly();
    in.form = *form;

    auto title = store.ReadObjectTitle(object);
    if (failed(title, sink))
        return finishEarly();
    in.objectFullName = title->fullName.utf8Trimmed();
    in.objectContract = title->contract.utf8Trimmed();
    return out;
}

void FinishSectionDrawing(const platform::WorkFolder& folder, const PreparedSection& prepared) {
    if (!prepared.hadWorkingConnections)
        folder.removeFile(store::paths::kWorkSlo);
}

} // namespace orvo::drawing
