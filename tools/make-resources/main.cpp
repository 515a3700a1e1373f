#include "ButtonImage.h"
#include "SoundRecipes.h"
#include "WaveFile.h"

#include <cstdio>
#include <string>

// Writes the app's button image and sounds into the given folder; the output depends on
// nothing but this program, so reruns produce the same bytes.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources-folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    using namespace resources;
    const bool ok = writeButtonImage(folder + "/redButton2.png") &&
                    writeWaveFile(folder + "/mywhy.wav", synthesizeWhoop(), kSoundSampleRate) &&
                    writeWaveFile(folder + "/zeee.wav", synthesizeZeee(), kSoundSampleRate);
    if (!ok)
        std::fprintf(stderr, "%s: could not write into %s\n", argv[0], folder.c_str());
    return ok ? 0 : 1;
}
