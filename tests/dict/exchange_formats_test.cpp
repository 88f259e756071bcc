// The three exchange files side by side: each round-trips through its picked file, refuses the
// other kinds and anything longer than one item can be.
#include "dict/consistency_type.h"
#include "dict/symbol.h"
#include "dict/title_block.h"
#include "platform/messages.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <functional>

using namespace orvo;
using namespace orvo::dict;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

namespace {

struct Kind {
    const char* what;
    const platform::ExchangeFormat& format;
    // Stores one item named "Проба" (after the built-in slot 0) and returns its slot.
    std::function<int(const platform::WorkFolder&)> store;
    std::function<Status(const platform::WorkFolder&, int, const std::filesystem::path&)> exportTo;
    // The name read back from a file, or the refusal.
    std::function<Result<std::string>(const std::filesystem::path&)> readName;
};

template <class T, class F> Result<std::string> nameOf(Result<T> read, F name) {
    if (!read)
        return read.error();
    return name(*read);
}

const std::vector<Kind>& kinds() {
    static const std::vector<Kind> all = {
        {"symbols", kSymbolExchange,
         [](const platform::WorkFolder& f) {
             (void)SaveNewSymbol(f, "", {});
             return *SaveNewSymbol(f, "Проба", {{kSymbolRectangle, 0, 2, 2, {{0, 0}, {300, 300}}}});
         },
         ExportSymbol,
         [](const std::filesystem::path& p) {
             return nameOf(ReadSymbolExchange(p),
                           [](const SymbolExchange& x) { return x.record.name.utf8(); });
         }},
        {"title blocks", kTitleBlockExchange,
         [](const platform::WorkFolder& f) {
             (void)SaveTitleBlock(f, 0, "Шаблон", TitleBlock{});
             TitleBlock b;
             b.segments = {{0, 0, 1850, 0, 3}};
             return *SaveNewTitleBlock(f, "Проба", b);
         },
         ExportTitleBlock,
         [](const std::filesystem::path& p) {
             return nameOf(ReadTitleBlockExchange(p),
                           [](const TitleBlockExchange& x) { return x.record.name.utf8(); });
         }},
        {"consistency types", kConsistencyExchange,
         [](const platform::WorkFolder& f) {
             (void)SaveNewConsistencyType(f, "Нет", {ConsistencyElement{}});
             return *SaveNewConsistencyType(f, "Проба", {ConsistencyElement{}});
         },
         ExportConsistencyType,
         [](const std::filesystem::path& p) {
             return nameOf(ReadConsistencyExchange(p),
                           [](const ConsistencyType& x) { return x.record.name.utf8Trimmed(); });
         }},
    };
    return all;
}

class ExchangeFormats : public ::testing::Test {
protected:
    ExchangeFormats() : folder(dir.path()) {
        std::filesystem::create_directories(dir / "DATA/DIC");
    }
    TempDir dir;
    platform::WorkFolder folder;
};

} // namespace

TEST_F(ExchangeFormats, EachKindRoundTripsAndRefusesTheOthers) {
    std::vector<std::filesystem::path> files;
    for (const Kind& k : kinds()) {
        SCOPED_TRACE(k.what);
        const auto file = dir / (std::string(k.what) + ".exchange");
        ASSERT_TRUE(k.exportTo(folder, k.store(folder), file));
        const auto bytes = readBytes(file);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 14), std::string(k.format.magic));
        EXPECT_LE(bytes.size(), k.format.maxSize);
        const auto name = k.readName(file);
        ASSERT_TRUE(name);
        EXPECT_EQ(*name, "Проба");
        files.push_back(file);
    }
    for (std::size_t i = 0; i < kinds().size(); ++i)
        for (std::size_t j = 0; j < files.size(); ++j) {
            if (i == j)
                continue;
            SCOPED_TRACE(std::string(kinds()[i].what) + " reading " + kinds()[j].what);
            const auto name = kinds()[i].readName(files[j]);
            ASSERT_FALSE(name);
            EXPECT_EQ(name.error().text, std::string(platform::kBadFormatText));
            EXPECT_EQ(name.error().caption, std::string("ОШИБКА"));
        }
}

TEST_F(ExchangeFormats, TooLongOrMissingFilesAreRefusedByName) {
    for (const Kind& k : kinds()) {
        SCOPED_TRACE(k.what);
        const auto file = dir / "long.exchange";
        ASSERT_TRUE(k.exportTo(folder, k.store(folder), file));
        auto bytes = readBytes(file);
        bytes.resize(k.format.maxSize + 1);
        writeBytes(file, bytes);
        auto name = k.readName(file);
        ASSERT_FALSE(name);
        EXPECT_EQ(name.error().text, std::string(platform::kBadFormatText));
        const auto missing = dir / "missing.exchange";
        name = k.readName(missing);
        ASSERT_FALSE(name);
        EXPECT_EQ(name.error().text, "Ошибка открытия (" + missing.string() + ")");
    }
}

TEST_F(ExchangeFormats, ExportToAnUnwritablePlaceWritesNothing) {
    for (const Kind& k : kinds()) {
        SCOPED_TRACE(k.what);
        const auto file = dir / "no such folder" / "x.exchange";
        const auto st = k.exportTo(folder, k.store(folder), file);
        ASSERT_FALSE(st);
        EXPECT_EQ(st.error().text, "Ошибка открытия (" + file.string() + ")");
        EXPECT_FALSE(std::filesystem::exists(file.parent_path()));
    }
}
