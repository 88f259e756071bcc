// Building the library tree from the project database.
#include "shell/library_tree.h"

#include "platform/collate.h"
#include "store/records.h"

#include <algorithm>

namespace orvo::shell {

void TreeNodeRecord::read(store::LeReader& r) {
    kind = r.i16();
    object = r.i32();
    section = r.i32();
    borehole = r.i32();
}

void TreeNodeRecord::write(store::LeWriter& w) const {
    w.i16(kind);
    w.i32(object);
    w.i32(section);
    w.i32(borehole);
}

int LibraryTree::insert(int parent, const TreeNodeRecord& record, std::string label,
                        InsertAt where) {
    const int index = static_cast<int>(m_nodes.size());
    m_nodes.push_back({record, std::move(label), parent, {}});
    if (parent < 0)
        return index;
    auto& siblings = m_nodes[static_cast<std::size_t>(parent)].children;
    auto pos = siblings.end();
    if (where == InsertAt::First) {
        pos = siblings.begin();
    } else if (where == InsertAt::Sorted) {
        // After every sibling that does not sort after it, so equal labels keep their order.
        const std::string& mine = m_nodes.back().label;
        pos = std::upper_bound(siblings.begin(), siblings.end(), mine,
                               [&](const std::string& l, int other) {
                                   return platform::compareText(l, node(other).label) < 0;
                               });
    }
    siblings.insert(pos, index);
    return index;
}

int LibraryTree::childPosition(int index) const {
    const int parent = node(index).parent;
    if (parent < 0)
        return 0;
    const auto& siblings = node(parent).children;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), index) - siblings.begin());
}

void LibraryTree::detach(int index) {
    auto& n = m_nodes.at(static_cast<std::size_t>(index));
    if (n.parent < 0)
        return;
    auto& siblings = m_nodes[static_cast<std::size_t>(n.parent)].children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), index), siblings.end());
    n.parent = -1;
}

void LibraryTree::relabel(int index, std::string label) {
    m_nodes.at(static_cast<std::size_t>(index)).label = std::move(label);
}

namespace {

TreeNodeRecord rec(NodeKind kind, std::int32_t object = 0, std::int32_t section = 0,
                   std::int32_t borehole = 0) {
    return {static_cast<std::int16_t>(kind), object, section, borehole};
}

void addObjectChildren(const store::ProjectStore& store, LibraryTree& tree, int objectNode,
                       std::int32_t object) {
    auto sections = store.ReadSectionList(object);
    if (!sections)
        tree.skipped.push_back(sections.error().text);
    for (auto section : sections ? *sections : std::vector<std::int32_t>{}) {
        auto name = store.ReadSectionName(object, section);
        if (!name) {
            tree.skipped.push_back(name.error().text);
            continue;
        }
        tree.insert(objectNode, rec(NodeKind::Section, object, section), name->utf8(),
                    InsertAt::Last);
    }
    const int list = tree.insert(objectNode, rec(NodeKind::BoreholeList, object),
                                 kBoreholeListLabel, InsertAt::First);
    auto boreholes = store.ReadBoreholeList(object);
    if (!boreholes)
        tree.skipped.push_back(boreholes.error().text);
    for (auto borehole : boreholes ? *boreholes : std::vector<std::int32_t>{}) {
        auto header = store.ReadBoreholeHeader(object, borehole);
        if (!header) {
            tree.skipped.push_back(header.error().text);
            continue;
        }
        tree.insert(list, rec(NodeKind::Borehole, object, 0, borehole), header->name.utf8(),
                    InsertAt::Sorted);
    }
}

} // namespace

Result<LibraryTree> BuildLibraryTree(const store::ProjectStore& store) {
    LibraryTree tree;
    const int root = tree.insert(-1, rec(NodeKind::Root), kRootLabel, InsertAt::Last);
    const int working =
        tree.insert(root, rec(NodeKind::WorkingFolder), kWorkingFolderLabel, InsertAt::Last);
    const int archive =
        tree.insert(root, rec(NodeKind::ArchiveFolder), kArchiveFolderLabel, InsertAt::Last);

    auto objects = store.ReadObjectList();
    if (!objects)
        return objects.error();
    for (const auto& entry : *objects) {
        auto title = store.ReadObjectTitle(entry.number);
        if (!title)
            return title.error();
        if (entry.archived != 0) {
            tree.insert(archive, rec(NodeKind::ArchivedObject, entry.number),
                        title->shortName.utf8(), InsertAt::Sorted);
            continue;
        }
        const int node = tree.insert(working, rec(NodeKind::WorkingObject, entry.number),
                                     title->shortName.utf8(), InsertAt::Sorted);
        addObjectChildren(store, tree, node, entry.number);
    }
    return tree;
}

store::Bytes treeRecordsBytes(const LibraryTree& tree) {
    store::Bytes out;
    out.reserve(tree.nodes().size() * TreeNodeRecord::kSize);
    for (const auto& n : tree.nodes())
        store::appendRecord(out, n.record);
    return out;
}

namespace {
void formatNode(const LibraryTree& tree, int index, int depth, std::string& out) {
    const TreeNode& n = tree.node(index);
    std::string label = n.label;
    while (!label.empty() && label.back() == ' ')
        label.pop_back();
    out.append(2 * static_cast<std::size_t>(depth), ' ');
    out += '[';
    out += std::to_string(n.record.kind);
    out += "] ";
    out += label;
    out += '\n';
    for (int child : n.children)
        formatNode(tree, child, depth + 1, out);
}
} // namespace

std::string formatTree(const LibraryTree& tree) {
    std::string out;
    if (!tree.nodes().empty())
        formatNode(tree, 0, 0, out);
    return out;
}

} // namespace orvo::shell
