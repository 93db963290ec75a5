// One renderer per picture; generateAll() runs them in turn.
#pragma once

#include <string>

#include "Painting.h"

namespace artwork {

bool writeBackground(const Fonts& fonts, const std::string& path, std::string& error);
bool writeKnobStrip(const std::string& path, std::string& error);
bool writeSwitchStrip(const std::string& path, std::string& error);
bool writeSwitchThumb(const std::string& path, std::string& error);
bool writeAbout(const Fonts& fonts, const std::string& version, const std::string& path,
                std::string& error);

}  // namespace artwork
