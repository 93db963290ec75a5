// The panel's pictures built into the Linux plug-in (see cmake/EmbedFiles.cmake): the same
// files the Windows build takes from its resource script.
#pragma once

#include <cstddef>

namespace QuellinCorvane::EmbeddedImages {

extern const unsigned char kBackground[];
extern const std::size_t kBackgroundSize;
extern const unsigned char kKnobStrip[];
extern const std::size_t kKnobStripSize;
extern const unsigned char kSwitchStrip[];
extern const std::size_t kSwitchStripSize;
extern const unsigned char kAbout[];  // a 32-bit BMP
extern const std::size_t kAboutSize;

}  // namespace QuellinCorvane::EmbeddedImages
