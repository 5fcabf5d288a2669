#include "hand_stage.h"

#include "platforms/sdl/sdl_sound.h"
#include "runtime/core/key_codes.h"
#include "runtime/synth/synth.h"
#include "stage/sounds.h"
#include "stage/stage.h"

#include <SDL.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRate = rtsdl::SdlSound::kSampleRate;
constexpr std::size_t kBuffer = rtsdl::SdlSound::kBufferSamples;

// The game's sound through SDL's disk driver, which writes the mixed samples (mono floats, as the
// game hands them over) to a file in real time.
class DiskSound : public ::testing::Test {
protected:
    DiskSound()
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", m_file.c_str(), 1);
    }
    ~DiskSound() override
    {
        SDL_Quit();
        std::filesystem::remove(m_file);
    }

    // What the device wrote; read once the sound is closed.
    std::vector<float> written() const
    {
        std::ifstream in(m_file, std::ios::binary);
        std::vector<float> samples(std::filesystem::file_size(m_file) / sizeof(float));
        in.read(reinterpret_cast<char*>(samples.data()),
                static_cast<std::streamsize>(samples.size() * sizeof(float)));
        return samples;
    }

    static std::size_t firstSound(const std::vector<float>& samples)
    {
        return static_cast<std::size_t>(
            std::find_if(samples.begin(), samples.end(), [](float s) { return s != 0; }) -
            samples.begin());
    }
    static bool silent(const std::vector<float>& samples, std::size_t from)
    {
        return std::all_of(samples.begin() + static_cast<std::ptrdiff_t>(from), samples.end(),
                           [](float s) { return s == 0; });
    }

    HandStage game;
    std::optional<rtsdl::SdlSound> sound{std::in_place, game.clock, stage::kAllSounds};

private:
    std::filesystem::path m_file = std::filesystem::temp_directory_path() /
                                   ("zelvatron-sound-" + std::to_string(getpid()) + ".f32");
};

// Space on the stage fires, and the shot's samples reach the device as synthesised, at once, and
// nothing after them.
TEST_F(DiskSound, AFiredShotSoundsAndThenSilence)
{
    game.runtime.sounds().setOutput(&*sound);
    game.runtime.keyDown(game.form(), rt::kKeySpace, 0);
    ASSERT_LT(game.form().Lasers(0).Top, stage::kStripTop);
    SDL_Delay(300);
    game.runtime.sounds().setOutput(nullptr);
    sound.reset();

    const std::vector<float> samples = written();
    const std::vector<float> shot = rt::synthesise(stage::kShotSound, kRate);
    const std::size_t start = firstSound(samples) - firstSound(shot);
    ASSERT_LT(start, 2 * kBuffer) << "the shot starts within two buffers of the key";
    ASSERT_GT(samples.size(), start + shot.size() + kRate / 10);
    EXPECT_TRUE(std::equal(shot.begin(), shot.end(), samples.begin() + start));
    EXPECT_TRUE(silent(samples, start + shot.size()));
}

// M mutes: what sounds stops within a buffer, and a shot fired then is not heard.
TEST_F(DiskSound, MutingCutsWhatSounds)
{
    game.runtime.sounds().setOutput(&*sound);
    game.runtime.sounds().play(stage::kBlastSound); // sounds for 1.2 s
    SDL_Delay(100);
    game.runtime.keyDown(game.form(), rt::kKeyM, 0);
    game.runtime.keyDown(game.form(), rt::kKeySpace, 0);
    SDL_Delay(300);
    game.runtime.sounds().setOutput(nullptr);
    sound.reset();

    const std::vector<float> samples = written();
    const std::size_t cut = firstSound(samples) + kRate / 10 + 3 * kBuffer;
    ASSERT_GT(samples.size(), cut + kRate / 10);
    EXPECT_TRUE(silent(samples, cut));
}

// Once the last effect is over the device pauses, and after a longer quiet it closes; the wait is
// for the samples, so a device that has not caught up with the clock keeps running.
TEST_F(DiskSound, TheDeviceRestsWhenNothingSounds)
{
    EXPECT_FALSE(sound->open()) << "nothing opens before the first sound";
    sound->play(stage::kShotSound);
    EXPECT_TRUE(sound->running());
    SDL_Delay(200);
    game.clock.advance(static_cast<int>(rt::lengthMs(stage::kShotSound)) + 100);
    EXPECT_FALSE(sound->running());
    EXPECT_TRUE(sound->open());
    game.clock.advance(5000);
    EXPECT_FALSE(sound->open());

    sound->play(stage::kBlastSound);
    game.clock.advance(static_cast<int>(rt::lengthMs(stage::kBlastSound)) + 100);
    EXPECT_TRUE(sound->running()) << "the blast's samples are still to be played";
}

// Without a sound device the game plays on silently and says so once.
TEST(NoSoundDevice, PlaysSilentlyAndSaysSoOnce)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    HandStage game;
    rtsdl::SdlSound sound(game.clock, stage::kAllSounds);
    testing::internal::CaptureStderr();
    sound.play(stage::kShotSound);
    sound.play(stage::kBlastSound);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(sound.open());
    EXPECT_EQ(said.find("zelvatron: no sound device ("), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    SDL_Quit();
}

} // namespace
