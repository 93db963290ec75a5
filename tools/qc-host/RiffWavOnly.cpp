// Where libsndfile is not available (Debian has no MinGW build of it) the RIFF/WAVE codec is
// the back end.
#include "tools/qc-host/Wav.h"

namespace QcHost {

bool readWav(const std::string& path, Audio& audio, std::string& error) {
    return readRiffWav(path, audio, error);
}

bool writeWav(const std::string& path, const Audio& audio, SampleFormat format,
              std::string& error) {
    return writeRiffWav(path, audio, format, error);
}

}  // namespace QcHost
