// Fuzzes the reader of PASSWORD.SAV and the login on what it yields.
#include "fuzz_folder.h"
#include "shell/password.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto& f = orvo::fuzz::folder();
    f.put("PASSWORD.SAV", data, size);
    auto stored = orvo::shell::ReadPassword(f.folder);
    if (stored.ok() != (size == 1024 && data[0] >= 13 && data[0] <= 52))
        __builtin_trap();
    if (stored) {
        orvo::platform::RecordingMessageSink sink;
        const std::string typed = orvo::shell::prefilledPassword(*stored);
        (void)orvo::shell::Login(f.folder, *stored, typed, !stored->remember, sink);
        // A remembered password logs in as it is shown.
        if (stored->remember && !orvo::shell::passwordMatches(*stored, typed))
            __builtin_trap();
    }
    return 0;
}
