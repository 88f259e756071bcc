// Building the library tree: structure, order, record indexes and missing items.
#include "shell/library_tree.h"
#include "shell/object_lifecycle.h"
#include "shell/tree_view_file.h"
#include "support/db_builder.h"

#include <gtest/gtest.h>

using namespace orvo;
using namespace orvo::shell;
using orvo::test::DbBuilder;
using orvo::test::TempDir;

namespace {

class TreeTest : public ::testing::Test {
protected:
    TreeTest() : db(dir.path()), folder(dir.path()), store(folder) {}

    LibraryTree build() {
        auto tree = BuildLibraryTree(store);
        EXPECT_TRUE(tree) << (tree ? "" : tree.error().text);
        return tree ? *tree : LibraryTree{};
    }
    static std::vector<std::string> childLabels(const LibraryTree& t, int node) {
        std::vector<std::string> out;
        for (int c : t.node(node).children)
            out.push_back(t.node(c).label);
        return out;
    }

    TempDir dir;
    DbBuilder db;
    platform::WorkFolder folder;
    store::ProjectStore store;
};

} // namespace

TEST_F(TreeTest, ArchivedAndWorkingObjects) {
    db.object(1, "Архивный", true);
    db.object(2, "Рабочий");
    db.section(2, 10, "Разрез Б");
    db.section(2, 11, "Разрез А");
    db.borehole(2, 20, "Скв.2");
    const auto tree = build();
    EXPECT_EQ(formatTree(tree), "[0] Библиотека Инженерно-Геологических разрезов\n"
                                "  [1] Рабочие объекты\n"
                                "    [3] Рабочий\n"
                                "      [7] Список выработок обьекта\n"
                                "        [6] Скв.2\n"
                                "      [5] Разрез Б\n"
                                "      [5] Разрез А\n"
                                "  [2] Архивные объекты\n"
                                "    [4] Архивный\n");
    // Records follow insertion order: the borehole list comes after the sections.
    const auto& n = tree.nodes();
    ASSERT_EQ(n.size(), 9u);
    EXPECT_EQ(n[3].record.kind, 4);
    EXPECT_EQ(n[3].record.object, 1);
    EXPECT_TRUE(n[3].children.empty());
    EXPECT_EQ(n[4].record.kind, 3);
    EXPECT_EQ(n[5].record.section, 10);
    EXPECT_EQ(n[6].record.section, 11);
    EXPECT_EQ(n[7].record.kind, 7);
    EXPECT_EQ(n[7].record.object, 2);
    EXPECT_EQ(n[8].record.borehole, 20);
    EXPECT_EQ(n[8].parent, 7);
    EXPECT_TRUE(tree.skipped.empty());
}

TEST_F(TreeTest, ObjectsAndBoreholesAreSortedByLabelOnly) {
    db.object(1, "бета");
    db.object(2, "Альфа");
    db.object(3, "бета"); // same name: both shown, in list order
    db.object(4, "Ёлка");
    db.object(5, "Елена");
    db.object(6, "Жук");
    db.borehole(1, 7, "скв.10");
    db.borehole(1, 8, "Скв.1");
    db.borehole(1, 9, "СКВ.2");
    db.borehole(1, 10, "Скв.1");
    const auto tree = build();
    EXPECT_EQ(childLabels(tree, 1),
              (std::vector<std::string>{"Альфа", "бета", "бета", "Елена", "Ёлка", "Жук"}));
    std::vector<std::int32_t> sameName;
    for (int c : tree.node(1).children)
        if (tree.node(c).label == "бета")
            sameName.push_back(tree.node(c).record.object);
    EXPECT_EQ(sameName, (std::vector<std::int32_t>{1, 3}));
    const int list = tree.node(tree.node(1).children[1]).children.front();
    EXPECT_EQ(tree.node(list).record.kind, 7);
    EXPECT_EQ(childLabels(tree, list),
              (std::vector<std::string>{"Скв.1", "Скв.1", "скв.10", "СКВ.2"}));
}

TEST_F(TreeTest, MissingListsAreEmptyAndMissingItemsAreSkipped) {
    db.object(1, "Объект");
    db.section(1, 3, "", false);
    db.section(1, 4, "Есть");
    db.borehole(1, 5, "", false);
    std::filesystem::remove(db.objectDir(1) / "SKV.SPS");
    db.object(2, "Без списков");
    std::filesystem::remove(db.objectDir(2) / "RAZ.SPS");
    std::filesystem::remove(db.objectDir(2) / "SKV.SPS");
    const auto tree = build();
    EXPECT_EQ(formatTree(tree), "[0] Библиотека Инженерно-Геологических разрезов\n"
                                "  [1] Рабочие объекты\n"
                                "    [3] Без списков\n"
                                "      [7] Список выработок обьекта\n"
                                "    [3] Объект\n"
                                "      [7] Список выработок обьекта\n"
                                "      [5] Есть\n"
                                "  [2] Архивные объекты\n");
    ASSERT_EQ(tree.skipped.size(), 1u);
    EXPECT_NE(tree.skipped[0].find("000003.DAT"), std::string::npos);
}

TEST_F(TreeTest, AMissingObjectListGivesAnEmptyTree) {
    const auto tree = build();
    EXPECT_EQ(tree.nodes().size(), 3u);
}

TEST_F(TreeTest, AnObjectWithoutTitleStopsTheProgram) {
    db.object(1, "Объект");
    std::filesystem::remove(db.objectDir(1) / "OBJ.TIT");
    auto tree = BuildLibraryTree(store);
    ASSERT_FALSE(tree);
    EXPECT_TRUE(tree.error().fatal);
    EXPECT_EQ(tree.error().caption, "FATAL ERROR");
    EXPECT_EQ(tree.error().text,
              "Ошибка открытия \"DATA\\00001.OBJ\\OBJ.TIT\" - дальнейшая работа невозможна...");
}

TEST_F(TreeTest, TreeViewRecordsAre14BytesInInsertionOrder) {
    db.object(3, "Объект");
    db.borehole(3, 0x01020304, "Скв");
    const auto tree = build();
    const auto bytes = treeRecordsBytes(tree);
    ASSERT_EQ(bytes.size(), 14u * tree.nodes().size());
    const std::size_t at = 14 * 5; // root, two folders, object, list, borehole
    EXPECT_EQ(bytes[at], 6);
    EXPECT_EQ(bytes[at + 1], 0);
    EXPECT_EQ(bytes[at + 2], 3);
    EXPECT_EQ((std::vector<std::uint8_t>(bytes.begin() + at + 10, bytes.begin() + at + 14)),
              (std::vector<std::uint8_t>{4, 3, 2, 1}));
    auto back =
        store::parseRecord<TreeNodeRecord>(std::span<const std::uint8_t>(bytes).subspan(at, 14));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->borehole, 0x01020304);
}

TEST(CompareLabels, CaseAndYoOrder) {
    EXPECT_EQ(compareLabels("абв", "АБВ"), 0);
    EXPECT_LT(compareLabels("е", "ё"), 0);
    EXPECT_LT(compareLabels("ё", "ж"), 0);
    EXPECT_LT(compareLabels("Я", "я1"), 0);
    EXPECT_LT(compareLabels("Z", "а"), 0);
    EXPECT_GT(compareLabels("b", "A"), 0);
}

// Nodes made after start-up: their records follow in TREEVIEW.TMP, they are placed by the
// start-up rule, and a node taken out or relabelled no longer counts for its siblings' order.
TEST_F(TreeTest, LaterNodesArePlacedByTheStartUpRuleAndRecorded) {
    db.object(3, "Объект");
    db.section(3, 8, "Разрез");
    db.borehole(3, 20, "Б");
    db.borehole(3, 21, "Г");
    auto tree = build();
    TreeViewFile file;
    ASSERT_TRUE(file.create(folder, tree));
    ASSERT_EQ(file.count(), static_cast<int>(tree.nodes().size()));
    const int object = 3; // root, two folders, then the object
    const int list = tree.node(object).children.front();
    ASSERT_EQ(tree.node(list).label, kBoreholeListLabel);

    struct Case {
        NodeKind kind;
        int parent;
        std::string label;
        int position; // among the parent's children after the insertion
    };
    const std::vector<Case> cases = {
        {NodeKind::Borehole, list, "в", 1},     // between "Б" and "Г", case ignored
        {NodeKind::Borehole, list, "А", 0},     // first
        {NodeKind::Borehole, list, "Г", 4},     // after the equal label
        {NodeKind::Section, object, "Ааа", 2},  // sections last, never sorted
        {NodeKind::BoreholeList, object, "", 0} // borehole lists first
    };
    for (const auto& c : cases) {
        const TreeNodeRecord rec{static_cast<std::int16_t>(c.kind), 3, 0, 0};
        const int node = tree.insert(c.parent, rec, c.label, placeOf(c.kind));
        ASSERT_TRUE(file.append(rec));
        EXPECT_EQ(file.count(), node + 1) << c.label;
        EXPECT_EQ(tree.childPosition(node), c.position) << c.label;
        const auto back = file.read(node);
        ASSERT_TRUE(back) << c.label;
        EXPECT_EQ(back->kind, rec.kind);
    }
    EXPECT_FALSE(file.read(file.count()));
    EXPECT_FALSE(file.read(-1));

    // Children now: А, Б, в, Г, Г. A relabelled "А" sorts as "Аб"; a detached "в" is gone.
    tree.relabel(tree.node(list).children[0], "Аб");
    EXPECT_EQ(tree.childPosition(tree.insert(list, {6, 3, 0, 22}, "Аа", InsertAt::Sorted)), 0);
    tree.detach(tree.node(list).children[3]);
    const int later = tree.insert(list, {6, 3, 0, 23}, "Ж", InsertAt::Sorted);
    EXPECT_EQ(childLabels(tree, list), (std::vector<std::string>{"Аа", "Аб", "Б", "Г", "Г", "Ж"}));
    EXPECT_EQ(tree.childPosition(later), 5);
    EXPECT_EQ(test::readBytes(dir / "TREEVIEW.TMP").size(),
              TreeNodeRecord::kSize * static_cast<std::size_t>(file.count()));
}
