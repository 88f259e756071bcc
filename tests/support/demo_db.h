// A temporary working folder holding the default database with its demonstration object.
#pragma once
#include "platform/work_folder.h"
#include "seed/seed.h"
#include "store/project_store.h"
#include "support/temp_dir.h"

namespace orvo::test {

struct DemoDatabase {
    TempDir dir;
    platform::WorkFolder folder{dir.path() / "w"};
    store::ProjectStore store{folder};
    Status made = seed::InitWorkingFolder(dir.path() / "w", seed::builtinDefinitions());
};

} // namespace orvo::test
