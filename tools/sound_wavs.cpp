// Renders each of the game's sound effects to FOLDER/<name>.wav (16-bit PCM, mono, 48 kHz) for a
// person to listen to: the same samples the desktop game mixes.
//
//   sound-wavs FOLDER

#include "runtime/synth/synth.h"
#include "stage/sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 48000;

void put16(std::ofstream& out, std::uint16_t v)
{
    const char bytes[] = {static_cast<char>(v & 0xff), static_cast<char>(v >> 8)};
    out.write(bytes, 2);
}

void put32(std::ofstream& out, std::uint32_t v)
{
    put16(out, static_cast<std::uint16_t>(v & 0xffff));
    put16(out, static_cast<std::uint16_t>(v >> 16));
}

// A RIFF file of one "fmt " and one "data" chunk, little-endian whatever the machine.
bool writeWav(const std::filesystem::path& path, const std::vector<float>& samples)
{
    std::ofstream out(path, std::ios::binary);
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);        // the size of the format chunk
    put16(out, 1);         // PCM
    put16(out, 1);         // mono
    put32(out, kRate);     // frames a second
    put32(out, kRate * 2); // bytes a second
    put16(out, 2);         // bytes a frame
    put16(out, 16);        // bits a sample
    out.write("data", 4);
    put32(out, dataBytes);
    for (const float s : samples)
        put16(out, static_cast<std::uint16_t>(
                       static_cast<std::int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767))));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: sound-wavs FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const rt::SoundEffect* effect : stage::kAllSounds) {
        const std::filesystem::path path = folder / (std::string(effect->name) + ".wav");
        if (!writeWav(path, rt::synthesise(*effect, kRate))) {
            std::fprintf(stderr, "sound-wavs: cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
