// Opening the high-score table on a file of any bytes: the table keeps ten rows of text, the
// game's own file always reads back whole as the table it showed, and the old bytes of a file it
// could not read wholly are kept, byte for byte, in the copy beside it.
#include "fuzz_check.h"
#include "runtime/core/files.h"
#include "runtime/core/runtime.h"
#include "scores/highscores.h"
#include "title/form2.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace {

constexpr int kRows = 10;
// What the writer keeps of a field.
constexpr std::size_t kMaxFieldBytes = 2000;

using Table = std::array<std::string, 3 * kRows>;

// Opens the table from the title, as the "HighScores!" button does, on these files.
struct Game {
    explicit Game(std::map<std::string, std::string> files)
    {
        auto store = std::make_unique<rt::MemoryFileStore>();
        store->files = std::move(files);
        this->files = store.get();
        runtime.setFiles(std::move(store));
        runtime.dispatch([this] { runtime.form<title::Form2>().Show(); });
        runtime.click(runtime.form<title::Form2>().cmdScores);
    }

    Table shown()
    {
        auto& table = runtime.form<scores::Highscores>();
        FUZZ_CHECK(table.Names.ListCount() == kRows && table.Level.ListCount() == kRows &&
                   table.Score.ListCount() == kRows);
        Table rows;
        for (int i = 0; i < kRows; ++i) {
            rows[3 * i] = table.Names.List(i).value();
            rows[3 * i + 1] = table.Level.List(i).value();
            rows[3 * i + 2] = table.Score.List(i).value();
        }
        return rows;
    }

    rt::Runtime runtime;
    rt::MemoryFileStore* files = nullptr;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string original(reinterpret_cast<const char*>(data), size);
    Game first({{"highscores", original}});
    const Table rows = first.shown();
    for (const std::string& field : rows)
        FUZZ_CHECK(isUtf8(field));
    if (first.files->files.contains("highscores.bad"))
        FUZZ_CHECK(first.files->files["highscores.bad"] == original);

    // The file written holds the rows shown, as the writer stores a field.
    const std::string saved = first.files->files["highscores"];
    FUZZ_CHECK(saved.size() <= rt::InputFile::kMaxBytes);
    rt::MemoryFileStore copy;
    copy.files["highscores"] = saved;
    rt::InputFile input(copy, "highscores");
    FUZZ_CHECK(!input.damaged());
    for (const std::string& field : rows)
        FUZZ_CHECK(input.readField() == rt::quotableField(rt::utf8Prefix(field, kMaxFieldBytes)));
    FUZZ_CHECK(!input.readField());

    // Reopened on its own file, the game finds nothing it could not read.
    Game second({{"highscores", saved}});
    FUZZ_CHECK(!second.files->files.contains("highscores.bad"));
    return 0;
}
