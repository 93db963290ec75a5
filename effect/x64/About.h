// What the About box shows and where "Visit Website" leads, on every platform.
#pragma once

namespace QuellinCorvane {

constexpr const char* kWebsite = "https://quellin.example/";
constexpr const char* kAboutCaption = "About Quellin Corvane";

}  // namespace QuellinCorvane
