#include "Artwork.h"

#include "Pictures.h"

namespace artwork {

bool generateAll(const std::string& outputDir, const std::string& version, std::string& error) {
    const Fonts fonts;
    if (!fonts.ok()) {
        error = fonts.error();
        return false;
    }
    const std::string dir = outputDir.empty() ? std::string(".") : outputDir;
    return writeBackground(fonts, dir + "/" + kBackgroundFile, error) &&
           writeKnobStrip(dir + "/" + kKnobStripFile, error) &&
           writeSwitchStrip(dir + "/" + kSwitchStripFile, error) &&
           writeSwitchThumb(dir + "/" + kSwitchThumbFile, error) &&
           writeAbout(fonts, version, dir + "/" + kAboutFile, error);
}

}  // namespace artwork
