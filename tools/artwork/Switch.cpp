#include "Artwork.h"
#include "Pictures.h"

namespace artwork {

bool writeSwitchStrip(const std::string& path, std::string& error) {
    using namespace layout;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSwitchWidth,
                                                          kSwitchHeight * kSwitchPositions);
    cairo_t* cr = cairo_create(surface);
    for (int position = 0; position < kSwitchPositions; ++position) {
        cairo_save(cr);
        cairo_translate(cr, 0, position * kSwitchHeight);
        cairo_rectangle(cr, 0, 0, kSwitchWidth, kSwitchHeight);
        cairo_clip(cr);
        // The slot is repeated here even though the panel has it too, so the strip also
        // looks right on its own.
        drawSwitchSlot(cr, 0, 0);
        drawSwitchThumb(cr, 0, thumbTop(position));
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    const bool ok = writePng(surface, path, error);
    cairo_surface_destroy(surface);
    return ok;
}

bool writeSwitchThumb(const std::string& path, std::string& error) {
    using namespace layout;
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kThumbSize, kThumbSize);
    cairo_t* cr = cairo_create(surface);
    drawSwitchThumb(cr, 0, 0);
    cairo_destroy(cr);
    const bool ok = writePng(surface, path, error);
    cairo_surface_destroy(surface);
    return ok;
}

}  // namespace artwork
