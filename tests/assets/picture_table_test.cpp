#include "support/game_harness.h"

#include "assets/assets.h"
#include "runtime/core/controls.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::array<unsigned char, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::vector<unsigned char> sourceFile(std::string_view name)
{
    std::ifstream file(std::string(ZELVATRON_ASSETS_DIR "/") + std::string(name) + ".png",
                       std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The table carries each PNG in assets/ whole: a generator that drops, pads or reorders bytes
// would hand every front end a picture it cannot decode.
TEST(PictureTable, EachPictureIsItsFileByteForByte)
{
    ASSERT_FALSE(assets::pictures().empty());
    for (const assets::Picture& picture : assets::pictures()) {
        const std::vector<unsigned char> file = sourceFile(picture.name);
        ASSERT_FALSE(file.empty()) << picture.name << ".png is not in assets/";
        EXPECT_TRUE(std::ranges::equal(picture.png.first(kPngSignature.size()), kPngSignature))
            << picture.name;
        EXPECT_TRUE(std::ranges::equal(picture.png, file)) << picture.name;
    }
}

using LayoutPictures = GameHarness;

// Every picture a window's layout names is found by that name, and only an exact name is.
TEST_F(LayoutPictures, EveryNamedPictureIsInTheTableAndNoOtherNameIs)
{
    std::set<std::string> named;
    // Loading one window may unload another (the boss stage takes over from the wave), so each
    // is read as it is loaded.
    const auto collect = [&named](const rt::Form& window) {
        if (!window.Picture.empty())
            named.insert(window.Picture);
        for (const rt::Control* control : window.controls())
            if (control->kind() == rt::ControlKind::PictureBox)
                if (const std::string& name = static_cast<const rt::PictureBox*>(control)->Picture;
                    !name.empty())
                    named.insert(name);
    };
    collect(Form2());
    collect(Dialog());
    collect(Form1());
    collect(form<boss::Boss>());
    collect(Highscores());
    ASSERT_GE(named.size(), 3u) << "the title, the enemy and the ship at least";
    for (const std::string& name : named) {
        const std::span<const unsigned char> png = assets::png(name);
        EXPECT_FALSE(png.empty()) << name << " is not in the table";
        EXPECT_TRUE(std::ranges::equal(png, sourceFile(name))) << name;
    }

    for (const std::string_view unknown : {"", "icon", "Title", "title.png", "ships"})
        EXPECT_TRUE(assets::png(unknown).empty()) << '"' << unknown << '"';
}

} // namespace
