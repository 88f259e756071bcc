// The start-up password: the PASSWORD.SAV file, the comparison rules and what the login and
// change dialogs do with them.
#pragma once
#include "platform/message_sink.h"
#include "platform/result.h"
#include "platform/work_folder.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace orvo::shell {

inline constexpr std::size_t kPasswordFileSize = 1024;
inline constexpr std::size_t kPasswordLength = 20;
inline constexpr std::string_view kPasswordFileName = "PASSWORD.SAV";

struct StoredPassword {
    std::string text = std::string(kPasswordLength, ' '); // Windows-1251, always 20 characters
    bool remember = false;
    bool fromFile = false;
    platform::Bytes raw; // the file as read, to rewrite the remember flag
    int stride = 0;
};

// Pseudo-random numbers for filler and stride.
using RandomSource = std::function<std::uint32_t()>;
RandomSource defaultRandomSource();

// Cut to 20 characters and padded with spaces; `typedUtf8` is what the user typed.
std::string normalizePassword(std::string_view typedUtf8);

std::optional<StoredPassword> decodePasswordFile(std::span<const std::uint8_t> bytes);
platform::Bytes encodePasswordFile(std::string_view typedUtf8, const RandomSource& random);

// No file: 20 spaces, not remembered. A damaged file is refused.
Result<StoredPassword> ReadPassword(const platform::WorkFolder& folder);
// What the login field shows when the dialog opens.
std::string prefilledPassword(const StoredPassword& stored);
bool passwordMatches(const StoredPassword& stored, std::string_view typedUtf8);

// "Вход": checks the password (message on a mismatch) and stores the remember flag.
bool Login(const platform::WorkFolder& folder, const StoredPassword& stored,
           std::string_view typedUtf8, bool remember, platform::MessageSink& sink);
// "Отмена": the refusal message; always false.
bool CancelLogin(platform::MessageSink& sink);
// "Сменить пароль": whether the change dialog may open (message on a mismatch).
bool MayChangePassword(const StoredPassword& stored, std::string_view typedUtf8,
                       platform::MessageSink& sink);
// "Заменить": writes a new PASSWORD.SAV.
Status ChangePassword(const platform::WorkFolder& folder, std::string_view newUtf8,
                      const RandomSource& random);

} // namespace orvo::shell
