#include "SynthToolkit/Gui/PngResource.h"

namespace SynthToolkit {
namespace Gui {

std::unique_ptr<PngPicture> loadPngResource(HINSTANCE instance, const char* name,
                                            const char* type) {
    auto picture = std::make_unique<PngPicture>();
    if (!picture->png.Load(instance, name, type)) return nullptr;
    return picture;
}

}  // namespace Gui
}  // namespace SynthToolkit
