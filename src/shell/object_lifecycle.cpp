// Object lifecycle and deletions: the store's operations behind their questions and checks.
#include "shell/object_lifecycle.h"

#include "platform/codepage.h"
#include "section/section_record.h"
#include "store/records.h"
#include "store/store_paths.h"

#include <algorithm>

namespace orvo::shell {

namespace {

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The stored full name: Windows line breaks, at most kFullNameChars bytes, never half a break.
std::string storedFullName(const std::string& utf8) {
    std::string text =
        platform::utf8ToCp1251(replaceAll(replaceAll(utf8, "\r\n", "\n"), "\n", "\r\n"));
    if (text.size() > static_cast<std::size_t>(kFullNameChars))
        text.resize(kFullNameChars);
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
    return text;
}

std::string question(std::string_view what, const std::string& name) {
    return "Вы действительно хотите удалить\r" + std::string(what) + " " + name + " ?";
}

bool confirmed(platform::MessageSink& sink, const char* caption, std::string_view what,
               const std::string& name) {
    return sink.askYesNo(caption, question(what, name)) == platform::Answer::Yes;
}

// Copies `node` with everything below it. Inserting in the source's record order with the
// same placement rules gives the same sibling order as the source.
LibraryTree copySubtree(const LibraryTree& from, int node) {
    std::vector<int> order{node};
    for (std::size_t i = 0; i < order.size(); ++i)
        for (int child : from.node(order[i]).children)
            order.push_back(child);
    std::sort(order.begin(), order.end());
    LibraryTree out;
    std::vector<int> mapped(from.nodes().size(), -1);
    for (int index : order) {
        const TreeNode& n = from.node(index);
        const int parent = index == node ? -1 : mapped[static_cast<std::size_t>(n.parent)];
        mapped[static_cast<std::size_t>(index)] =
            out.insert(parent, n.record, n.label, placeOf(static_cast<NodeKind>(n.record.kind)));
    }
    return out;
}

} // namespace

InsertAt placeOf(NodeKind kind) {
    switch (kind) {
    case NodeKind::Section:
        return InsertAt::Last;
    case NodeKind::BoreholeList:
        return InsertAt::First;
    default:
        return InsertAt::Sorted;
    }
}

ObjectTitleForm titleForm(const store::ObjectTitle& title) {
    return {title.shortName.utf8(), title.contract.utf8(),
            replaceAll(title.fullName.utf8(), "\r\n", "\n")};
}

std::string clampFullName(const std::string& utf8) {
    return replaceAll(platform::cp1251ToUtf8(storedFullName(utf8)), "\r\n", "\n");
}

void applyTitleForm(const ObjectTitleForm& form, store::ObjectTitle& title) {
    title.shortName.setUtf8(form.shortName, kShortNameChars);
    title.contract.setUtf8(form.contract, kContractChars);
    title.fullName.set(storedFullName(form.fullName), kFullNameChars);
}

Result<std::int32_t> CreateNewObject(const store::ProjectStore& store, store::StatusRecord& status,
                                     const ObjectTitleForm& form) {
    return store.CreateObject(status, form.shortName,
                              platform::cp1251ToUtf8(storedFullName(form.fullName)), form.contract);
}

Result<LibraryTree> WorkingObjectSubtree(const store::ProjectStore& store, std::int32_t object) {
    auto whole = BuildLibraryTree(store);
    if (!whole)
        return whole.error();
    for (const TreeNode& n : whole->nodes()) {
        if (n.record.kind != static_cast<std::int16_t>(NodeKind::WorkingObject) ||
            n.record.object != object)
            continue;
        return copySubtree(*whole, static_cast<int>(&n - whole->nodes().data()));
    }
    // The list no longer holds the working entry this run has just written.
    return store::BadFormatError(store::paths::kObjectList);
}

Result<Deletion> AskDeleteObject(const store::ProjectStore& store, platform::MessageSink& sink,
                                 std::int32_t object) {
    auto title = store.ReadObjectTitle(object);
    if (!title)
        return title.error();
    if (!confirmed(sink, kDeleteObjectCaption, "объект", title->shortName.utf8Trimmed()))
        return Deletion::Declined;
    if (auto st = store.DeleteObject(object); !st)
        return st.error();
    return Deletion::Deleted;
}

Result<Deletion> AskDeleteSection(const store::ProjectStore& store, platform::MessageSink& sink,
                                  std::int32_t object, std::int32_t section) {
    // A section whose file is gone can still be deleted; it is then asked about without a name.
    auto name = store.ReadSectionName(object, section);
    if (!confirmed(sink, kDeleteSectionCaption, "разрез", name ? name->utf8Trimmed() : ""))
        return Deletion::Declined;
    if (auto st = store.DeleteSection(object, section); !st)
        return st.error();
    return Deletion::Deleted;
}

Result<std::vector<std::int32_t>> FindBoreholeReferences(const store::ProjectStore& store,
                                                         std::int32_t object,
                                                         std::int32_t borehole) {
    auto sections = store.ReadSectionList(object);
    if (!sections)
        return sections.error();
    std::vector<std::int32_t> found;
    for (std::int32_t section : *sections) {
        auto used = section::ReadSection(store.folder(), object, section);
        if (!used) {
            // A section without a file uses nothing; one that cannot be read might use the
            // borehole, so the deletion is refused rather than guessed.
            if (!store.folder().exists(store::paths::sectionFile(object, section, "DAT")))
                continue;
            return used.error();
        }
        for (std::int32_t b : used->boreholes)
            if (b == borehole)
                found.push_back(section);
    }
    const auto& folder = store.folder();
    if (auto st = folder.writeAtomic(store::paths::kBoreholeListDel, store::numberListBytes(found));
        !st)
        return st.error();
    return found;
}

Result<BoreholeDeletion> AskDeleteBorehole(const store::ProjectStore& store,
                                           platform::MessageSink& sink, std::int32_t object,
                                           std::int32_t borehole) {
    BoreholeDeletion result;
    if (auto header = store.ReadBoreholeHeader(object, borehole))
        result.name = header->name.utf8Trimmed();
    if (!confirmed(sink, kDeleteBoreholeCaption, "выработку", result.name))
        return result;
    auto refs = FindBoreholeReferences(store, object, borehole);
    if (!refs)
        return refs.error();
    if (!refs->empty()) {
        store.folder().removeFile(store::paths::kBoreholeListDel);
        for (std::int32_t section : *refs) {
            auto name = store.ReadSectionName(object, section);
            result.sections.push_back(name ? name->utf8Trimmed() : std::string());
        }
        result.outcome = Deletion::Refused;
        return result;
    }
    // The list rewrite clears the scratch SKV.DEL before it reuses the name.
    if (auto st = store.DeleteBorehole(object, borehole); !st)
        return st.error();
    result.outcome = Deletion::Deleted;
    return result;
}

} // namespace orvo::shell
