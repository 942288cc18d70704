// kolvrane-make-example: writes the synthetic bass line and drums example used for listening tests.
// Regenerate the committed file from the repository root with:
//   <build>/tools/make-example/kolvrane-make-example examples/bassline-drums.wav
#include "ExampleSong.h"
#include "WavWriter.h"

#include <iostream>

int main(int argc, char* argv[])
{
    if (argc != 2)
    {
        std::cerr << "usage: kolvrane-make-example OUT.wav\n"
                     "  writes about 4.5 s of bass line and drums, 44100 Hz stereo 16-bit\n";
        return 2;
    }
    const auto signal = kolvrane::example::renderBasslineAndDrums(44100);
    if (!kolvrane::example::writePcm16Wav(argv[1], signal))
    {
        std::cerr << "kolvrane-make-example: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
