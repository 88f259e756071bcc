// The library tree's data: nodes for the root, the two folders, objects, sections, boreholes and
// borehole lists, built from the project database in the order the main window inserts them.
#pragma once
#include "platform/collate.h"
#include "platform/result.h"
#include "store/le_stream.h"
#include "store/project_store.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvo::shell {

enum class NodeKind : std::int16_t {
    Root = 0,
    WorkingFolder = 1,
    ArchiveFolder = 2,
    WorkingObject = 3,
    ArchivedObject = 4,
    Section = 5,
    Borehole = 6,
    BoreholeList = 7,
};

// One record of TREEVIEW.TMP; a tree item's user value is the index of its record.
struct TreeNodeRecord {
    static constexpr std::size_t kSize = 14;
    std::int16_t kind = 0;
    std::int32_t object = 0;
    std::int32_t section = 0;
    std::int32_t borehole = 0;

    void read(store::LeReader& r);
    void write(store::LeWriter& w) const;
};

inline constexpr const char* kRootLabel = "Библиотека Инженерно-Геологических разрезов";
inline constexpr const char* kWorkingFolderLabel = "Рабочие объекты";
inline constexpr const char* kArchiveFolderLabel = "Архивные объекты";
inline constexpr const char* kBoreholeListLabel = "Список выработок обьекта";

struct TreeNode {
    TreeNodeRecord record;
    std::string label; // UTF-8, as stored (trailing spaces kept)
    int parent = -1;
    std::vector<int> children;
};

enum class InsertAt { First, Last, Sorted };

// Nodes in insertion order: a node's index is its record index in TREEVIEW.TMP.
class LibraryTree {
public:
    int insert(int parent, const TreeNodeRecord& record, std::string label, InsertAt where);
    // Where a node stands among its parent's children (0 for a node without a parent).
    int childPosition(int node) const;
    // Takes a node out of its parent's children; its index and record stay, as in the file.
    void detach(int node);
    void relabel(int node, std::string label);
    const std::vector<TreeNode>& nodes() const { return m_nodes; }
    const TreeNode& node(int index) const { return m_nodes.at(static_cast<std::size_t>(index)); }
    // Items left out because their file is missing or damaged, one message each.
    std::vector<std::string> skipped;

private:
    std::vector<TreeNode> m_nodes;
};

// Tree order of labels: without regard to letter case, "ё" right after "е".
inline int compareLabels(const std::string& a, const std::string& b) {
    return platform::compareText(a, b);
}

// Builds the tree from the object list. A missing list is empty and an item whose file is
// missing or damaged is skipped; a missing object title is fatal.
Result<LibraryTree> BuildLibraryTree(const store::ProjectStore& store);

// The content of TREEVIEW.TMP for the tree.
store::Bytes treeRecordsBytes(const LibraryTree& tree);

// One node per line, two spaces of indent per level, "[kind] label" without trailing spaces.
std::string formatTree(const LibraryTree& tree);

} // namespace orvo::shell
