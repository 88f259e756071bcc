// Rules and file work of creating, retitling, archiving and deleting objects, and of deleting
// sections and boreholes, without widgets.
#pragma once
#include "platform/message_sink.h"
#include "platform/result.h"
#include "shell/library_tree.h"
#include "store/project_store.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvo::shell {

inline constexpr int kShortNameChars = 29;
inline constexpr int kContractChars = 29;
inline constexpr int kFullNameChars = 199;

inline constexpr const char* kNewObjectCaption = "Новый объект";
inline constexpr const char* kEditTitleCaption = "Редактирование титула объекта";
inline constexpr const char* kToArchiveCaption = "Объект - в архив";
inline constexpr const char* kFromArchiveCaption = "Объект - из архива";
inline constexpr const char* kDeleteObjectCaption = "Удаление объекта";
inline constexpr const char* kDeleteSectionCaption = "Удаление разреза";
inline constexpr const char* kDeleteBoreholeCaption = "Удаление выработки";

// The three texts of the title dialogs in UTF-8, line breaks as "\n" the way editors give them.
struct ObjectTitleForm {
    std::string shortName;
    std::string contract;
    std::string fullName;
};

// The stored title is kept whole so that saving changes only the three texts.
ObjectTitleForm titleForm(const store::ObjectTitle& title);
void applyTitleForm(const ObjectTitleForm& form, store::ObjectTitle& title);
// The full name cut to what its field holds, each line break taking two bytes there.
std::string clampFullName(const std::string& utf8);

// Entry, folder, title and empty lists; the counter is raised and status.sav written.
Result<std::int32_t> CreateNewObject(const store::ProjectStore& store, store::StatusRecord& status,
                                     const ObjectTitleForm& form);

// Where the start-up tree puts a node of this kind among its siblings, so nodes added later
// land in the same places.
InsertAt placeOf(NodeKind kind);

// The object's node with its children filled as the start-up tree fills them, in the order
// their records are appended; node 0 is the object itself.
Result<LibraryTree> WorkingObjectSubtree(const store::ProjectStore& store, std::int32_t object);

enum class Deletion { Declined, Deleted, Refused };

// Each asks its question ("Вы действительно хотите удалить\r... %s ?") and on Yes removes the
// item with its files. Errors come back unshown.
Result<Deletion> AskDeleteObject(const store::ProjectStore& store, platform::MessageSink& sink,
                                 std::int32_t object);
Result<Deletion> AskDeleteSection(const store::ProjectStore& store, platform::MessageSink& sink,
                                  std::int32_t object, std::int32_t section);

// Section numbers that use the borehole, once per use, in RAZ.SPS order. They are also left in
// SKV.DEL, the scratch list the check writes in the working folder. A section whose file cannot
// be read uses nothing.
Result<std::vector<std::int32_t>> FindBoreholeReferences(const store::ProjectStore& store,
                                                         std::int32_t object,
                                                         std::int32_t borehole);

struct BoreholeDeletion {
    Deletion outcome = Deletion::Declined;
    std::string name;                  // without trailing spaces, for the refusal caption
    std::vector<std::string> sections; // names of the referring sections when refused
};

// On Yes a borehole that sections still use is refused and nothing changes; otherwise its
// number and file go.
Result<BoreholeDeletion> AskDeleteBorehole(const store::ProjectStore& store,
                                           platform::MessageSink& sink, std::int32_t object,
                                           std::int32_t borehole);

} // namespace orvo::shell
