// Counting starts and working time; the menu and toolbar tables hang together.
#include "shell/commands.h"
#include "shell/session.h"
#include "store/store_paths.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <set>

using namespace orvo;
using namespace orvo::shell;

TEST(Session, StartsAndWorkingTimeAccumulate) {
    test::TempDir dir;
    std::filesystem::create_directories(dir / "DATA");
    platform::WorkFolder folder(dir.path());
    store::ProjectStore store(folder);
    store::StatusRecord s;
    s.launchCount = 4;
    s.workSeconds = 100;
    s.nextObjectNumber = 7;
    s.reserved = {9, 8};
    ASSERT_TRUE(store.SaveStatus(s));

    auto session = Session::Start(store, 1000);
    ASSERT_TRUE(session);
    EXPECT_EQ(session->status().launchCount, 5);
    EXPECT_EQ(store.LoadStatus()->launchCount, 4); // counted in memory only
    EXPECT_EQ(session->totalSeconds(1010), 110);
    session->status().nextObjectNumber = 8; // raised by a new object meanwhile
    ASSERT_TRUE(session->End(store, 1065));
    auto saved = store.LoadStatus();
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->launchCount, 5);
    EXPECT_EQ(saved->workSeconds, 165);
    EXPECT_EQ(saved->nextObjectNumber, 8);
    EXPECT_EQ(saved->reserved, (std::array<std::uint8_t, 2>{9, 8}));
    // A clock that went backwards adds nothing; the total never wraps.
    ASSERT_TRUE(session->End(store, 10));
    EXPECT_EQ(store.LoadStatus()->workSeconds, 165);
    session->status().workSeconds = INT32_MAX - 5;
    ASSERT_TRUE(session->End(store, 1000000));
    EXPECT_EQ(store.LoadStatus()->workSeconds, INT32_MAX);
}

TEST(Session, WorkTimeText) {
    EXPECT_EQ(formatWorkTime(0), "0 час, 0 мин, 0 сек");
    EXPECT_EQ(formatWorkTime(3725), "1 час, 2 мин, 5 сек");
    EXPECT_EQ(formatWorkTime(100 * 3600 + 59), "100 час, 0 мин, 59 сек");
}

TEST(Commands, MenuAndToolbarAgree) {
    std::set<int> menuIds;
    int commands = 0;
    for (const auto& e : mainMenu())
        if (e.kind == MenuEntry::Kind::Command) {
            ++commands;
            EXPECT_TRUE(menuIds.insert(e.id).second) << "id twice: " << e.id;
        }
    EXPECT_EQ(commands, 30);
    std::set<int> images;
    for (const auto& t : toolbar())
        if (t.id != 0) {
            EXPECT_TRUE(menuIds.count(t.id)) << t.id;
            images.insert(t.image);
        }
    EXPECT_EQ(toolbar().size(), 18u);
    EXPECT_EQ(images.size(), 13u);
    for (int id : selectionCommands())
        EXPECT_TRUE(menuIds.count(id)) << id;
    // Commands outside the table are always available, whatever is selected.
    EXPECT_TRUE(commandEnabled(NodeKind::Root, cmd::kScales));
    EXPECT_TRUE(commandEnabled(NodeKind::Root, cmd::kAbout));
}
