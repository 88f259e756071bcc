// TREEVIEW.TMP in the working folder: one TreeNodeRecord per library tree node, at the node's
// index. It is rebuilt at every start and is the one file held open for the whole run.
#pragma once
#include "platform/result.h"
#include "platform/work_folder.h"
#include "shell/library_tree.h"

#include <cstdio>
#include <optional>

namespace orvo::shell {

inline constexpr const char* kTreeViewFile = "TREEVIEW.TMP";

class TreeViewFile {
public:
    TreeViewFile() = default;
    TreeViewFile(const TreeViewFile&) = delete;
    TreeViewFile& operator=(const TreeViewFile&) = delete;
    ~TreeViewFile() { close(); }

    // Writes the records of every node of `tree` and keeps the file open. A file that cannot
    // be made or written is fatal, as the tree cannot work without it.
    Status create(const platform::WorkFolder& folder, const LibraryTree& tree);
    // Writes the record of a node made after start-up at the next index.
    Status append(const TreeNodeRecord& record);
    // The record at `index`, or nothing when it is not there or cannot be read.
    std::optional<TreeNodeRecord> read(int index) const;
    // Records written so far: the index the next node gets.
    int count() const { return m_count; }
    void close();

private:
    bool writeAt(int index, const store::Bytes& bytes);

    std::FILE* m_file = nullptr;
    int m_count = 0;
};

} // namespace orvo::shell
