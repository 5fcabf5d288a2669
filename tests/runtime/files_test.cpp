#include "runtime/core/files.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using Fields = std::vector<std::string>;

// Every field of a file holding `bytes`, or nothing when it does not open.
std::optional<Fields> readAll(std::string_view bytes)
{
    rt::MemoryFileStore store;
    store.files["highscores"] = std::string(bytes);
    rt::InputFile file(store, "highscores");
    if (!file.opened())
        return std::nullopt;
    Fields fields;
    while (auto field = file.readField())
        fields.push_back(*field);
    return fields;
}

// The fields of a file holding `bytes`, and whether it counted as damaged.
std::pair<Fields, bool> readDamaged(std::string_view bytes)
{
    rt::MemoryFileStore store;
    store.files["highscores"] = std::string(bytes);
    rt::InputFile file(store, "highscores");
    Fields fields;
    while (auto field = file.readField())
        fields.push_back(*field);
    return {fields, file.damaged()};
}

// Quotes hold commas, blanks before a field are skipped, and a line end separates like a comma.
TEST(SequentialInput, FieldsSplitAtCommasAndLineEnds)
{
    const struct {
        std::string_view bytes;
        Fields fields;
    } cases[] = {
        {"\"Ann, the first\",300\r\n", {"Ann, the first", "300"}},
        {"  \"Bob\"  ,  12  \n", {"Bob", "12"}},
        {"a,,b", {"a", "", "b"}},
        {"\"\"\r\n\"x\"\r\n", {"", "x"}},
        {"\"Ann\"\r\n\"300\"\r\n", {"Ann", "300"}},
        {"\"Ann\"\n\"300\"\n", {"Ann", "300"}},
        {"\"Ann\",\"300\"", {"Ann", "300"}},
        {"Ann,300", {"Ann", "300"}},
        {"Ann\r\n300\r\n", {"Ann", "300"}},
        {"\"Bob\",\"Ann,300", {"Bob", "Ann,300"}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readAll(c.bytes), c.fields) << c.bytes;
}

struct DamageCase {
    std::string_view bytes;
    Fields fields;
    bool damaged;
};

// Reading stops at the first byte no text file holds; what comes before it is read, a field it
// cuts is not, and the file counts as damaged. A line that is not UTF-8 does not change how
// the lines around it decode.
class DamagedInput : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedInput, ReadsWhatComesBeforeTheDamage)
{
    EXPECT_EQ(readDamaged(GetParam().bytes), std::pair(GetParam().fields, GetParam().damaged));
}

using namespace std::string_view_literals;
INSTANTIATE_TEST_SUITE_P(
    SequentialInput, DamagedInput,
    ::testing::Values(DamageCase{"\"Ann\"\0\r\n"sv, {"Ann"}, true},
                      DamageCase{"Ann,300\r\n\0\0\0\0"sv, {"Ann", "300"}, true},
                      DamageCase{"Ann,30\0"sv, {"Ann"}, true},
                      DamageCase{"\"Ann\",\"Bo\x01b\""sv, {"Ann"}, true},
                      DamageCase{"\x01"sv, {}, true}, DamageCase{"Ann,300\x7f"sv, {"Ann"}, true},
                      DamageCase{"Ann\t,300\r\n"sv, {"Ann", "300"}, false},
                      DamageCase{"\"Ann"sv, {"Ann"}, false},
                      DamageCase{"Ann\x81,300"sv, {"Ann\uFFFD", "300"}, true},
                      DamageCase{"J\xc3\xb6rd\r\n\xe9\xff"sv, {"Jörd", "éÿ"}, false}));

// Only the first 64 KiB are read: a file of exactly that size is whole; one byte more is
// damaged, and a field running into the limit is not returned, quoted or not.
TEST(SequentialInput, OnlyTheFirst64KiBAreRead)
{
    constexpr std::size_t kLimit = rt::InputFile::kMaxBytes;
    const Fields ann = {"Ann", "300"};
    const std::string head = "Ann,300\r\n";
    const std::string padded = head + std::string(kLimit - head.size(), ' ');
    EXPECT_EQ(readDamaged(padded), std::pair(ann, false));
    EXPECT_EQ(readDamaged(padded + "x"), std::pair(ann, true));

    const std::string filler(kLimit - head.size() - 4, ' ');
    EXPECT_EQ(readDamaged(head + filler + "12345,"), std::pair(ann, true));
    EXPECT_EQ(readDamaged(head + filler + "\"Bob\","), std::pair(ann, true));
    EXPECT_EQ(readDamaged(head + filler + "\"Bo\","), std::pair(Fields{"Ann", "300", "Bo"}, true));

    rt::MemoryFileStore empty;
    EXPECT_FALSE(rt::InputFile(empty, "highscores").opened());
}

// A line that is not valid UTF-8 is read as Windows-1252, whole; valid UTF-8 passes through.
TEST(SequentialInput, InvalidUtf8IsReadAsWindows1252)
{
    const struct {
        std::string_view bytes;
        std::string text;
    } cases[] = {
        {"caf\xe9", "café"},     {"\x80", "€"},           {"\x9f\xa0", "Ÿ\u00a0"},
        {"caf\xc3\xa9", "café"}, {"\xc3\xa9\xe9", "Ã©é"}, {"\xf0\x9f\x9a\x80", "\U0001F680"},
        {"\xc3", "Ã"},           {"\xc0\xaf", "À¯"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readAll(c.bytes), Fields{c.text}) << c.bytes;
}

// Each field goes in double quotes on a CR LF line; a quote becomes an apostrophe and control
// characters are dropped, so every field reads back as one field.
TEST(SequentialOutput, FieldsAreQuotedOnePerLine)
{
    rt::MemoryFileStore store;
    rt::OutputFile file(store, "highscores");
    for (std::string_view field : {"Ann", "say \"hi\"", "a,\tb\r\nc", "", "café"})
        file.writeField(field);
    EXPECT_TRUE(store.files.empty()) << "written before close";
    EXPECT_TRUE(file.close());

    const std::string bytes = "\"Ann\"\r\n\"say 'hi'\"\r\n\"a,bc\"\r\n\"\"\r\n\"café\"\r\n";
    EXPECT_EQ(store.files["highscores"], bytes);
    EXPECT_EQ(readAll(bytes), (Fields{"Ann", "say 'hi'", "a,bc", "", "café"}));
}

// A store that cannot write: close() reports it.
class FullDisk : public rt::FileStore {
public:
    std::optional<std::string> read(const std::string&, std::size_t) override
    {
        return std::nullopt;
    }
    bool replace(const std::string&, std::string_view) override { return false; }
    bool copy(const std::string&, const std::string&) override { return false; }
};

// close() returns whether the store replaced the file.
TEST(SequentialOutput, CloseReportsAFailedWrite)
{
    FullDisk disk;
    rt::OutputFile file(disk, "highscores");
    file.writeField("Ann");
    EXPECT_FALSE(file.close());
}

} // namespace
