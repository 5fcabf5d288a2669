// The sequential reader on any bytes: it ends, it gives only UTF-8 fields that hold no byte a text
// file never holds, and what the writer makes of those fields reads back unchanged.
#include "fuzz_check.h"
#include "runtime/core/files.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// A quoted field may run over line ends; nothing else below a blank gets in.
bool holdsControl(std::string_view field)
{
    for (const char c : field)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n') ||
            c == 0x7F)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    rt::MemoryFileStore store;
    store.files["highscores"] = std::string(reinterpret_cast<const char*>(data), size);

    rt::InputFile input(store, "highscores");
    FUZZ_CHECK(input.opened());
    if (size > rt::InputFile::kMaxBytes)
        FUZZ_CHECK(input.damaged());

    // Every field ends at a separator or a quote, so there are never more than bytes + 1.
    std::vector<std::string> fields;
    while (const std::optional<std::string> field = input.readField()) {
        FUZZ_CHECK(fields.size() <= size);
        FUZZ_CHECK(isUtf8(*field));
        FUZZ_CHECK(!holdsControl(*field));
        fields.push_back(*field);
    }
    FUZZ_CHECK(!input.readField());

    rt::OutputFile output(store, "copy");
    for (const std::string& field : fields)
        output.writeField(field);
    FUZZ_CHECK(output.close());

    rt::InputFile again(store, "copy");
    const bool fits = store.files["copy"].size() <= rt::InputFile::kMaxBytes;
    FUZZ_CHECK(again.damaged() == !fits);
    for (const std::string& field : fields) {
        const std::optional<std::string> readBack = again.readField();
        if (!fits && !readBack)
            break;
        FUZZ_CHECK(readBack == rt::quotableField(field));
    }
    if (fits)
        FUZZ_CHECK(!again.readField());
    return 0;
}
