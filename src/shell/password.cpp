// PASSWORD.SAV: the password hidden at a stride among filler bytes.
#include "shell/password.h"

#include "platform/codepage.h"
#include "platform/messages.h"

#include <chrono>
#include <random>

namespace orvo::shell {

namespace {
constexpr int kMinStride = 2;
constexpr int kMaxStride = 41;

std::size_t flagOffset(int stride) {
    return 21 * static_cast<std::size_t>(stride);
}
} // namespace

RandomSource defaultRandomSource() {
    auto engine = std::make_shared<std::mt19937>(std::random_device{}());
    // Mixed with the clock as well, in case random_device is deterministic here.
    engine->discard(static_cast<unsigned long long>(
                        std::chrono::steady_clock::now().time_since_epoch().count()) %
                    1000);
    return [engine] { return static_cast<std::uint32_t>((*engine)()); };
}

std::string normalizePassword(std::string_view typedUtf8) {
    std::string s = platform::utf8ToCp1251(typedUtf8);
    s.resize(kPasswordLength, ' ');
    return s;
}

std::optional<StoredPassword> decodePasswordFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kPasswordFileSize)
        return std::nullopt;
    const int stride = bytes[0] - 11;
    if (stride < kMinStride || stride > kMaxStride)
        return std::nullopt;
    StoredPassword p;
    p.fromFile = true;
    p.stride = stride;
    p.raw.assign(bytes.begin(), bytes.end());
    for (std::size_t i = 0; i < kPasswordLength; ++i)
        p.text[i] = static_cast<char>(
            static_cast<std::uint8_t>(bytes[static_cast<std::size_t>(stride) * (i + 1)] + 32));
    p.remember = (bytes[flagOffset(stride)] & 1) != 0;
    return p;
}

platform::Bytes encodePasswordFile(std::string_view typedUtf8, const RandomSource& random) {
    platform::Bytes out(kPasswordFileSize);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(random() % 100);
    const int stride = static_cast<int>(random() % 40) + kMinStride;
    out[0] = static_cast<std::uint8_t>(stride + 11);
    const std::string text = normalizePassword(typedUtf8);
    for (std::size_t i = 0; i < kPasswordLength; ++i)
        out[static_cast<std::size_t>(stride) * (i + 1)] =
            static_cast<std::uint8_t>(static_cast<std::uint8_t>(text[i]) - 32);
    return out;
}

Result<StoredPassword> ReadPassword(const platform::WorkFolder& folder) {
    const auto in = folder.read(kPasswordFileName, kPasswordFileSize + 1);
    if (in.state == platform::ReadOutcome::State::Missing)
        return StoredPassword{};
    auto decoded = in.ok() ? decodePasswordFile(in.bytes) : std::nullopt;
    if (!decoded)
        return Error{std::string(platform::kBadFormatText) + " \"" +
                         std::string(kPasswordFileName) + "\",\rДальнейшая работа невозможна !",
                     "EXIT", true};
    return *decoded;
}

std::string prefilledPassword(const StoredPassword& stored) {
    if (!stored.remember)
        return {};
    std::string s = stored.text;
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return platform::cp1251ToUtf8(s);
}

bool passwordMatches(const StoredPassword& stored, std::string_view typedUtf8) {
    return normalizePassword(typedUtf8) == stored.text;
}

bool Login(const platform::WorkFolder& folder, const StoredPassword& stored,
           std::string_view typedUtf8, bool remember, platform::MessageSink& sink) {
    if (!passwordMatches(stored, typedUtf8)) {
        sink.show("EXIT", "Введенный пароль НЕ ВЕРНЫЙ,\rДальнейшая работа невозможна !",
                  platform::Icon::Error);
        return false;
    }
    if (stored.fromFile && stored.remember != remember) {
        platform::Bytes bytes = stored.raw;
        // Lowering the byte by one flips its parity (0 wraps to 255).
        bytes[flagOffset(stored.stride)] =
            static_cast<std::uint8_t>(bytes[flagOffset(stored.stride)] - 1);
        // The password itself is fine; a flag that cannot be saved is not worth refusing entry.
        (void)folder.writeAtomic(kPasswordFileName, bytes);
    }
    return true;
}

bool CancelLogin(platform::MessageSink& sink) {
    sink.show("EXIT", "Отказ в подтверждении пароля,\rДальнейшая работа невозможна !",
              platform::Icon::Error);
    return false;
}

bool MayChangePassword(const StoredPassword& stored, std::string_view typedUtf8,
                       platform::MessageSink& sink) {
    if (passwordMatches(stored, typedUtf8))
        return true;
    sink.show("Смена пароля", "Введенный пароль НЕ ВЕРНЫЙ,\rСменить пароль невозможно!",
              platform::Icon::Error);
    return false;
}

Status ChangePassword(const platform::WorkFolder& folder, std::string_view newUtf8,
                      const RandomSource& random) {
    return folder.writeAtomic(kPasswordFileName, encodePasswordFile(newUtf8, random));
}

} // namespace orvo::shell
