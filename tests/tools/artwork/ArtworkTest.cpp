#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Artwork.h"

namespace {

namespace fs = std::filesystem;
using namespace artwork::layout;

const std::string kResources = QC_RESOURCES_DIR;

std::vector<unsigned char> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t bigEndian32(const std::vector<unsigned char>& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) |
           (std::uint32_t{b[at + 2]} << 8) | std::uint32_t{b[at + 3]};
}

std::uint32_t littleEndian32(const std::vector<unsigned char>& b, std::size_t at) {
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) |
           (std::uint32_t{b[at + 2]} << 16) | (std::uint32_t{b[at + 3]} << 24);
}

std::uint32_t littleEndian16(const std::vector<unsigned char>& b, std::size_t at) {
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8);
}

// Reads the PNG signature and the IHDR chunk, which must come first.
void expectRgbaPng(const std::string& name, std::uint32_t width, std::uint32_t height) {
    SCOPED_TRACE(name);
    const std::vector<unsigned char> b = readBytes(kResources + "/" + name);
    ASSERT_GE(b.size(), 33u);
    const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    for (int i = 0; i < 8; ++i) ASSERT_EQ(b[i], signature[i]);
    EXPECT_EQ(bigEndian32(b, 8), 13u);
    EXPECT_EQ(std::string(b.begin() + 12, b.begin() + 16), "IHDR");
    EXPECT_EQ(bigEndian32(b, 16), width);
    EXPECT_EQ(bigEndian32(b, 20), height);
    EXPECT_EQ(b[24], 8) << "bit depth";
    EXPECT_EQ(b[25], 6) << "colour type (RGBA)";
    EXPECT_EQ(b[28], 0) << "interlace";
}

// Decoded picture as cairo's premultiplied ARGB32 words.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

Image load(const std::string& name) {
    Image image;
    const std::string path = kResources + "/" + name;
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        image.width = cairo_image_surface_get_width(surface);
        image.height = cairo_image_surface_get_height(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        for (int y = 0; y < image.height; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
            image.pixels.insert(image.pixels.end(), row, row + image.width);
        }
    }
    cairo_surface_destroy(surface);
    return image;
}

int red(std::uint32_t p) {
    return static_cast<int>((p >> 16) & 0xff);
}
int green(std::uint32_t p) {
    return static_cast<int>((p >> 8) & 0xff);
}
int blue(std::uint32_t p) {
    return static_cast<int>(p & 0xff);
}
int alpha(std::uint32_t p) {
    return static_cast<int>(p >> 24);
}

// The knob's pointer is the only near-white part of a frame.
double pointerWeight(std::uint32_t p) {
    const int lowest = std::min({red(p), green(p), blue(p)});
    return lowest > 190 ? lowest - 190 : 0;
}

// The lit value arc and the switch's indicator are the only saturated orange parts.
bool isAccent(std::uint32_t p) {
    return alpha(p) > 200 && red(p) > 190 && red(p) - blue(p) > 110 && green(p) > 100;
}

TEST(Artwork, PngsAreRgbaOfTheEditorSizes) {
    expectRgbaPng(artwork::kBackgroundFile, kPanelWidth, kPanelHeight);
    expectRgbaPng(artwork::kKnobStripFile, kKnobSize, kKnobSize * kKnobFrames);
    expectRgbaPng(artwork::kSwitchStripFile, kSwitchWidth, kSwitchHeight * kSwitchPositions);
    expectRgbaPng(artwork::kSwitchThumbFile, kThumbSize, kThumbSize);
    EXPECT_EQ(6097, kKnobSize * kKnobFrames);
    EXPECT_EQ(264, kSwitchHeight * kSwitchPositions);
}

TEST(Artwork, KnobPointerSweepsClockwiseFromMinimumToMaximum) {
    const Image strip = load(artwork::kKnobStripFile);
    ASSERT_EQ(strip.height, kKnobSize * kKnobFrames);
    const double centre = kKnobSize / 2.0;
    std::vector<double> angles;
    for (int frame = 0; frame < kKnobFrames; ++frame) {
        double sum = 0, sumX = 0, sumY = 0;
        for (int y = 0; y < kKnobSize; ++y) {
            for (int x = 0; x < kKnobSize; ++x) {
                const double dx = x + 0.5 - centre;
                const double dy = y + 0.5 - centre;
                if (dx * dx + dy * dy > 20.0 * 20.0) continue;
                const double w = pointerWeight(strip.at(x, frame * kKnobSize + y));
                sum += w;
                sumX += w * dx;
                sumY += w * dy;
            }
        }
        ASSERT_GT(sum, 0.0) << "no pointer in frame " << frame;
        // Degrees clockwise from 12 o'clock.
        angles.push_back(std::atan2(sumX / sum, -sumY / sum) * 180.0 / M_PI);
    }
    EXPECT_NEAR(angles.front(), -135.0, 3.0);
    EXPECT_NEAR(angles.back(), 135.0, 3.0);
    for (int frame = 1; frame < kKnobFrames; ++frame) {
        EXPECT_GT(angles[frame], angles[frame - 1]) << "frame " << frame;
        EXPECT_NEAR(angles[frame] - angles[frame - 1], 3.0, 1.5) << "frame " << frame;
    }
}

TEST(Artwork, KnobValueArcGrowsWithTheValue) {
    const Image strip = load(artwork::kKnobStripFile);
    ASSERT_EQ(strip.height, kKnobSize * kKnobFrames);
    std::vector<int> lit;
    for (int frame = 0; frame < kKnobFrames; ++frame) {
        int count = 0;
        for (int y = 0; y < kKnobSize; ++y) {
            for (int x = 0; x < kKnobSize; ++x)
                count += isAccent(strip.at(x, frame * kKnobSize + y));
        }
        lit.push_back(count);
    }
    EXPECT_EQ(lit.front(), 0);
    EXPECT_GT(lit.back(), 300);
    for (int frame = 1; frame < kKnobFrames; ++frame) {
        EXPECT_GE(lit[frame], lit[frame - 1]) << "frame " << frame;
    }
}

TEST(Artwork, KnobIsTransparentInItsCorners) {
    const Image strip = load(artwork::kKnobStripFile);
    ASSERT_EQ(strip.height, kKnobSize * kKnobFrames);
    for (int frame = 0; frame < kKnobFrames; ++frame) {
        const int top = frame * kKnobSize;
        EXPECT_EQ(alpha(strip.at(0, top)), 0);
        EXPECT_EQ(alpha(strip.at(kKnobSize - 1, top)), 0);
        EXPECT_EQ(alpha(strip.at(kKnobSize / 2, top + kKnobSize / 2)), 255);
    }
}

TEST(Artwork, SwitchFramesDifferAndTheThumbMovesUp) {
    const Image strip = load(artwork::kSwitchStripFile);
    ASSERT_EQ(strip.height, kSwitchHeight * kSwitchPositions);
    auto frame = [&](int n) {
        const auto first = strip.pixels.begin() + n * kSwitchHeight * kSwitchWidth;
        return std::vector<std::uint32_t>(first, first + kSwitchHeight * kSwitchWidth);
    };
    for (int a = 0; a < kSwitchPositions; ++a) {
        for (int b = a + 1; b < kSwitchPositions; ++b) {
            EXPECT_NE(frame(a), frame(b)) << "frames " << a << " and " << b;
        }
    }
    double previous = kSwitchHeight;
    for (int n = 0; n < kSwitchPositions; ++n) {
        double sum = 0, count = 0;
        for (int y = 0; y < kSwitchHeight; ++y) {
            for (int x = 0; x < kSwitchWidth; ++x) {
                if (isAccent(strip.at(x, n * kSwitchHeight + y))) {
                    sum += y + 0.5;
                    ++count;
                }
            }
        }
        ASSERT_GT(count, 0) << "no thumb indicator in frame " << n;
        const double centre = sum / count;
        EXPECT_LT(centre, previous) << "frame " << n;
        EXPECT_NEAR(centre, thumbTop(n) + kThumbSize / 2.0, 2.0) << "frame " << n;
        previous = centre;
    }
    EXPECT_GT(previous, 0.0);
    EXPECT_LT(previous, kSwitchHeight / 3.0) << "position 3 is at the top";
}

TEST(Artwork, SwitchThumbMatchesTheStripsThumb) {
    const Image strip = load(artwork::kSwitchStripFile);
    const Image thumb = load(artwork::kSwitchThumbFile);
    ASSERT_EQ(strip.height, kSwitchHeight * kSwitchPositions);
    ASSERT_EQ(thumb.width, kThumbSize);
    ASSERT_EQ(thumb.height, kThumbSize);
    int opaque = 0;
    for (int n = 0; n < kSwitchPositions; ++n) {
        const int top = n * kSwitchHeight + thumbTop(n);
        for (int y = 0; y < kThumbSize; ++y) {
            for (int x = 0; x < kThumbSize; ++x) {
                const std::uint32_t own = thumb.at(x, y);
                if (alpha(own) != 255) continue;
                ++opaque;
                const std::uint32_t inStrip = strip.at(x, top + y);
                EXPECT_NEAR(red(inStrip), red(own), 2) << n << ": " << x << "," << y;
                EXPECT_NEAR(green(inStrip), green(own), 2) << n << ": " << x << "," << y;
                EXPECT_NEAR(blue(inStrip), blue(own), 2) << n << ": " << x << "," << y;
            }
        }
    }
    EXPECT_GT(opaque, kSwitchPositions * 200);
    EXPECT_EQ(alpha(thumb.at(0, 0)), 0) << "the thumb has rounded, transparent corners";
}

TEST(Artwork, AboutIsA32BitBottomUpBitmap) {
    const std::vector<unsigned char> b = readBytes(kResources + "/" + artwork::kAboutFile);
    ASSERT_GE(b.size(), 54u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    const std::uint32_t imageSize = kAboutWidth * kAboutHeight * 4;
    EXPECT_EQ(littleEndian32(b, 2), b.size());
    EXPECT_EQ(littleEndian32(b, 10), 54u) << "pixel data offset";
    EXPECT_EQ(littleEndian32(b, 14), 40u) << "BITMAPINFOHEADER";
    EXPECT_EQ(littleEndian32(b, 18), static_cast<std::uint32_t>(kAboutWidth));
    EXPECT_EQ(littleEndian32(b, 22), static_cast<std::uint32_t>(kAboutHeight))
        << "positive height: bottom-up rows";
    EXPECT_EQ(littleEndian16(b, 26), 1u) << "planes";
    EXPECT_EQ(littleEndian16(b, 28), 32u) << "bits per pixel";
    EXPECT_EQ(littleEndian32(b, 30), 0u) << "BI_RGB";
    EXPECT_EQ(b.size(), 54u + imageSize);
    EXPECT_EQ(303, kAboutWidth);
    EXPECT_EQ(295, kAboutHeight);
}

TEST(Artwork, RegeneratingReproducesTheCommittedFiles) {
    const fs::path dir = fs::path(::testing::TempDir()) / "artwork_regenerated";
    fs::remove_all(dir);
    ASSERT_TRUE(fs::create_directories(dir));
    std::string error;
    ASSERT_TRUE(artwork::generateAll(dir.string(), QC_ARTWORK_VERSION, error)) << error;
    for (const char* name :
         {artwork::kBackgroundFile, artwork::kKnobStripFile, artwork::kSwitchStripFile,
          artwork::kSwitchThumbFile, artwork::kAboutFile}) {
        const std::vector<unsigned char> committed = readBytes(kResources + "/" + name);
        ASSERT_FALSE(committed.empty()) << name << " is missing; run 'make artwork'";
        EXPECT_TRUE(readBytes(dir / name) == committed)
            << name << " differs from a fresh rendering; run 'make artwork'";
    }
    fs::remove_all(dir);
}

}  // namespace
