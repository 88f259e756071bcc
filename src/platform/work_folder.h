// File operations on stored names under the working folder: reads, atomic replacement, folders.
#pragma once
#include "platform/path_resolver.h"
#include "platform/result.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orvo::platform {

using Bytes = std::vector<std::uint8_t>;

struct ReadOutcome {
    enum class State { Ok, Missing, Failed, NoMemory } state = State::Missing;
    Bytes bytes;               // at most the limit asked for
    bool reachedLimit = false; // the file may go on past what was read
    bool ok() const { return state == State::Ok; }
};

// Points at which a test can make a multi-step file operation stop as if the program had died
// or the disk had filled up. The hook gets the step's name and returns true to stop there.
using FaultHook = std::function<bool(std::string_view step)>;

class WorkFolder {
public:
    explicit WorkFolder(std::filesystem::path root);

    const std::filesystem::path& root() const { return m_resolver.root(); }
    const PathResolver& resolver() const { return m_resolver; }
    std::filesystem::path resolve(std::string_view stored) const;
    // The stored name for messages, with the separators as given.
    static std::string display(std::string_view stored) { return std::string(stored); }

    // Reads at most `limit` bytes from the start of the file. Folders count as unreadable.
    ReadOutcome read(std::string_view stored, std::uint64_t limit = UINT64_MAX) const;
    bool exists(std::string_view stored) const;
    bool isFolder(std::string_view stored) const;

    // Replaces or creates the file so that at every moment it holds either its old or its new
    // content: a temporary file beside it is written and flushed, then renamed over it.
    Status writeAtomic(std::string_view stored, const Bytes& content) const;
    // Copies a file atomically (the target is replaced as by writeAtomic).
    Status copyFile(std::string_view from, std::string_view to) const;
    // Deletes a file; a missing file is no error. Returns false only when it stays.
    bool removeFile(std::string_view stored) const;
    Status makeFolder(std::string_view stored) const;
    // Deletes every file in the folder and the folder itself.
    Status removeFolder(std::string_view stored) const;
    std::vector<std::string> listFolder(std::string_view stored) const;

    void setFaultHook(FaultHook hook) { m_fault = std::move(hook); }
    // True when a test asked to stop at this step.
    bool faultAt(std::string_view step) const { return m_fault && m_fault(step); }

private:
    int openStored(std::string_view stored) const;

    PathResolver m_resolver;
    FaultHook m_fault;
};

// The same read and atomic replacement for a path outside any working folder, taken exactly as
// given: a file the user picked. replaceFile is false when the file could not be replaced.
ReadOutcome readFile(const std::filesystem::path& file, std::uint64_t limit = UINT64_MAX);
bool replaceFile(const std::filesystem::path& file, const Bytes& content);

// Texts of the platform's own refusals.
Error writeError(std::string_view stored);
Error openError(std::string_view stored);
// "Недостаточно памяти": the operation is abandoned.
Error noMemoryError();
// The refusal for a read that did not come out Ok.
Error readError(const ReadOutcome& outcome, std::string_view stored);

} // namespace orvo::platform
