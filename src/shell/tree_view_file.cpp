// TREEVIEW.TMP: records written at start-up and appended for nodes made later, read back by index.
#include "shell/tree_view_file.h"

#include "store/project_store.h"

#include <array>

namespace orvo::shell {

Status TreeViewFile::create(const platform::WorkFolder& folder, const LibraryTree& tree) {
    close();
    m_file = std::fopen(folder.resolve(kTreeViewFile).c_str(), "w+b");
    const auto bytes = treeRecordsBytes(tree);
    if (!m_file || !writeAt(0, bytes)) {
        close();
        return store::FatalOpenError(kTreeViewFile);
    }
    m_count = static_cast<int>(tree.nodes().size());
    return Done{};
}

Status TreeViewFile::append(const TreeNodeRecord& record) {
    if (!m_file || !writeAt(m_count, store::recordBytes(record)))
        return Error{"Ошибка записи файла \"" + std::string(kTreeViewFile) + "\"", "Ошибка"};
    ++m_count;
    return Done{};
}

std::optional<TreeNodeRecord> TreeViewFile::read(int index) const {
    std::array<std::uint8_t, TreeNodeRecord::kSize> buf{};
    if (!m_file || index < 0 || index >= m_count ||
        std::fseek(m_file, static_cast<long>(index) * static_cast<long>(buf.size()), SEEK_SET) !=
            0 ||
        std::fread(buf.data(), 1, buf.size(), m_file) != buf.size())
        return std::nullopt;
    auto rec = store::parseRecord<TreeNodeRecord>(buf);
    if (!rec)
        return std::nullopt;
    return *rec;
}

void TreeViewFile::close() {
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    m_count = 0;
}

bool TreeViewFile::writeAt(int index, const store::Bytes& bytes) {
    return std::fseek(m_file, static_cast<long>(index) * static_cast<long>(TreeNodeRecord::kSize),
                      SEEK_SET) == 0 &&
           std::fwrite(bytes.data(), 1, bytes.size(), m_file) == bytes.size() &&
           std::fflush(m_file) == 0;
}

} // namespace orvo::shell
