// The chain that comes before every rendering of a section (viewer, sheet editor, printing,
// export): layout check, connection model, IGE list, sheet texts.
#pragma once
#include "drawing/render_section.h"
#include "platform/message_sink.h"
#include "section/section_record.h"
#include "store/project_store.h"

#include <optional>

namespace orvo::drawing {

struct PreparedSection {
    SectionDrawingInput input;
    // Whether WORK.SLO was there before; FinishSectionDrawing removes one made only for this.
    bool hadWorkingConnections = false;
};

// Checks the layout (showing the automatic scale's notice), builds the connection model and
// merges the stored connections into it, then the IGE list, the standard descriptions, the sheet
// texts, the drawing form and the object's title. Nothing comes back when a refusal or a change
// report ("Запустите редактор Соединений ИГЭ") was shown: the user has to act first. `section`
// holds the values of the open dialog or the stored section; `storedSection` is empty for a
// section being created; `source` says where the text placements come from.
std::optional<PreparedSection>
PrepareSectionDrawing(const store::ProjectStore& store, platform::MessageSink& sink,
                      std::int32_t object, std::optional<std::int32_t> storedSection,
                      const section::Section& section, TextSource source);

// After the drawing: removes the WORK.SLO the preparation made when there was none before.
void FinishSectionDrawing(const platform::WorkFolder& folder, const PreparedSection& prepared);

} // namespace orvo::drawing
