#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "PeFile.h"

namespace {

using pecheck::PeError;
using pecheck::PeInfo;

// Builds a small but complete DLL image by hand: one section holding an export directory, an
// import directory and a resource tree (PNG:115 and RT_DIALOG:ABOUTDIALOG), laid out so that
// the last byte the parser needs is the last byte of the file.
class ImageBuilder {
public:
    static constexpr std::uint32_t kSectionRva = 0x1000;
    static constexpr std::uint32_t kSectionFile = 0x200;
    static constexpr std::uint32_t kExports = 0x000;
    static constexpr std::uint32_t kImports = 0x080;
    static constexpr std::uint32_t kResources = 0x100;

    ImageBuilder(bool pe32Plus, std::vector<std::string> imports)
        : pe32Plus_(pe32Plus), imports_(std::move(imports)) {}

    std::vector<std::uint8_t> build() {
        bytes_.assign(kSectionFile + 0x300, 0);
        writeHeaders();
        writeExports();
        writeImports();
        writeResources();
        return bytes_;
    }

    void put16(std::size_t offset, std::uint16_t v) {
        bytes_[offset] = static_cast<std::uint8_t>(v);
        bytes_[offset + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    void put32(std::size_t offset, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    // Section-relative helpers.
    void s16(std::uint32_t offset, std::uint16_t v) { put16(kSectionFile + offset, v); }
    void s32(std::uint32_t offset, std::uint32_t v) { put32(kSectionFile + offset, v); }
    void sText(std::uint32_t offset, const std::string& text) {
        std::memcpy(&bytes_[kSectionFile + offset], text.c_str(), text.size() + 1);
    }

    std::size_t optionalHeaderOffset() const { return 0x58; }
    std::size_t directoryOffset(int index) const {
        return optionalHeaderOffset() + (pe32Plus_ ? 112 : 96) + index * 8;
    }

private:
    void writeHeaders() {
        bytes_[0] = 'M';
        bytes_[1] = 'Z';
        put32(0x3c, 0x40);
        std::memcpy(&bytes_[0x40], "PE\0\0", 4);
        const std::uint16_t optionalSize = pe32Plus_ ? 240 : 224;
        put16(0x44, pe32Plus_ ? pecheck::kMachineAmd64 : pecheck::kMachineI386);
        put16(0x46, 1);
        put16(0x54, optionalSize);
        put16(0x56, 0x2022);
        const std::size_t opt = optionalHeaderOffset();
        put16(opt, pe32Plus_ ? 0x20b : 0x10b);
        put32(opt + 60, kSectionFile);
        put32(opt + (pe32Plus_ ? 108 : 92), 16);
        put32(directoryOffset(0), kSectionRva + kExports);
        put32(directoryOffset(0) + 4, 40);
        put32(directoryOffset(1), kSectionRva + kImports);
        put32(directoryOffset(1) + 4, 20 * static_cast<std::uint32_t>(imports_.size() + 1));
        put32(directoryOffset(2), kSectionRva + kResources);
        put32(directoryOffset(2) + 4, 0x100);
        const std::size_t section = opt + optionalSize;
        std::memcpy(&bytes_[section], ".rdata", 6);
        put32(section + 8, 0x300);
        put32(section + 12, kSectionRva);
        put32(section + 16, 0x300);
        put32(section + 20, kSectionFile);
    }

    void writeExports() {
        s32(kExports + 24, 2);
        s32(kExports + 32, kSectionRva + 0x40);
        s32(0x40, kSectionRva + 0x50);
        s32(0x44, kSectionRva + 0x60);
        sText(0x50, "VSTPluginMain");
        sText(0x60, "main");
    }

    void writeImports() {
        // The names go after the resource tree so the directory offsets stay fixed.
        std::uint32_t name = 0x1d0;
        for (std::size_t i = 0; i < imports_.size(); ++i) {
            s32(kImports + static_cast<std::uint32_t>(i) * 20 + 12, kSectionRva + name);
            sText(name, imports_[i]);
            name += static_cast<std::uint32_t>(imports_[i].size()) + 1;
        }
    }

    void resourceString(std::uint32_t offset, const std::string& text) {
        s16(kResources + offset, static_cast<std::uint16_t>(text.size()));
        for (std::size_t i = 0; i < text.size(); ++i) {
            s16(kResources + offset + 2 + static_cast<std::uint32_t>(i) * 2,
                static_cast<std::uint16_t>(text[i]));
        }
    }

    void directory(std::uint32_t offset, std::uint16_t named, std::uint16_t ids) {
        s16(kResources + offset + 12, named);
        s16(kResources + offset + 14, ids);
    }

    void entry(std::uint32_t dir, int index, std::uint32_t name, std::uint32_t data) {
        s32(kResources + dir + 16 + index * 8, name);
        s32(kResources + dir + 16 + index * 8 + 4, data);
    }

    void writeResources() {
        constexpr std::uint32_t kDir = 0x80000000u;
        constexpr std::uint32_t kName = 0x80000000u;
        directory(0x00, 1, 1);
        entry(0x00, 0, kName | 0xa0, kDir | 0x20);  // "PNG"
        entry(0x00, 1, 5, kDir | 0x50);             // RT_DIALOG
        directory(0x20, 0, 1);
        entry(0x20, 0, 115, kDir | 0x38);
        directory(0x38, 0, 1);
        entry(0x38, 0, 1033, 0x80);
        directory(0x50, 1, 0);
        entry(0x50, 0, kName | 0xb0, kDir | 0x68);  // "ABOUTDIALOG"
        directory(0x68, 0, 1);
        entry(0x68, 0, 1033, 0x90);
        s32(kResources + 0x80, kSectionRva + 0x2f8);
        s32(kResources + 0x84, 4);
        s32(kResources + 0x90, kSectionRva + 0x2f8);
        s32(kResources + 0x94, 8);
        resourceString(0xa0, "PNG");
        resourceString(0xb0, "ABOUTDIALOG");
    }

    bool pe32Plus_;
    std::vector<std::string> imports_;
    std::vector<std::uint8_t> bytes_;
};

std::vector<std::uint8_t> sampleDll(bool pe32Plus = true) {
    return ImageBuilder(pe32Plus, {"KERNEL32.dll", "msvcrt.dll"}).build();
}

TEST(PeParse, ReadsMachineExportsImportsAndResourcesOfPe32PlusAndPe32) {
    for (bool pe32Plus : {true, false}) {
        SCOPED_TRACE(pe32Plus ? "PE32+" : "PE32");
        const PeInfo info = pecheck::parsePe(sampleDll(pe32Plus));
        EXPECT_EQ(info.machine, pe32Plus ? pecheck::kMachineAmd64 : pecheck::kMachineI386);
        EXPECT_EQ(info.pe32Plus, pe32Plus);
        EXPECT_TRUE(info.isDll);
        EXPECT_EQ(info.exports, (std::vector<std::string>{"VSTPluginMain", "main"}));
        EXPECT_EQ(info.imports, (std::vector<std::string>{"KERNEL32.dll", "msvcrt.dll"}));
        ASSERT_EQ(info.resources.size(), 2u);

        const pecheck::ResourceLeaf& png = info.resources[0];
        EXPECT_TRUE(png.type.isName);
        EXPECT_EQ(png.type.name, "PNG");
        EXPECT_FALSE(png.name.isName);
        EXPECT_EQ(png.name.id, 115u);
        EXPECT_EQ(png.language, 1033u);
        EXPECT_EQ(png.size, 4u);

        const pecheck::ResourceLeaf& dialog = info.resources[1];
        EXPECT_FALSE(dialog.type.isName);
        EXPECT_EQ(dialog.type.id, 5u);
        EXPECT_EQ(dialog.name.name, "ABOUTDIALOG");
        EXPECT_EQ(dialog.size, 8u);
    }
}

// Every byte the parser needs sits before the end of the sample, so each shorter prefix must
// be refused with PeError; under AddressSanitizer a missed bounds check shows up here too.
TEST(PeParse, RejectsEveryTruncationOfAValidImage) {
    for (bool pe32Plus : {true, false}) {
        const std::vector<std::uint8_t> full = sampleDll(pe32Plus);
        for (std::size_t length = 0; length < full.size(); ++length) {
            const std::vector<std::uint8_t> cut(full.begin(), full.begin() + length);
            EXPECT_THROW(pecheck::parsePe(cut), PeError) << "length " << length;
        }
    }
}

TEST(PeParse, RejectsCorruptStructures) {
    ImageBuilder builder(true, {"KERNEL32.dll"});
    const std::vector<std::uint8_t> good = builder.build();
    auto corrupted = [&](auto change) {
        std::vector<std::uint8_t> bytes = good;
        change(bytes);
        return bytes;
    };
    auto put32 = [](std::vector<std::uint8_t>& b, std::size_t offset, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    const std::size_t section = ImageBuilder::kSectionFile;

    EXPECT_THROW(pecheck::parsePe(corrupted([](auto& b) { b[0] = 'X'; })), PeError);
    EXPECT_THROW(pecheck::parsePe(corrupted([&](auto& b) { put32(b, 0x3c, 0xfffffff0u); })),
                 PeError);
    EXPECT_THROW(pecheck::parsePe(corrupted([](auto& b) { b[0x58] = 0x77; })), PeError);
    // An export count far beyond the file would otherwise drive a huge allocation.
    EXPECT_THROW(pecheck::parsePe(corrupted([&](auto& b) { put32(b, section + 24, 0x7fffffff); })),
                 PeError);
    // An export name pointing outside every section.
    EXPECT_THROW(pecheck::parsePe(corrupted([&](auto& b) { put32(b, section + 0x40, 0x90000); })),
                 PeError);
    // An import name that never terminates inside the section.
    EXPECT_THROW(pecheck::parsePe(corrupted(
                     [&](auto& b) { std::fill(b.begin() + section + 0x1d0, b.end(), 'A'); })),
                 PeError);
    // A resource subdirectory pointing back at the root would recurse forever.
    EXPECT_THROW(pecheck::parsePe(corrupted([&](auto& b) {
                     put32(b, section + ImageBuilder::kResources + 16 + 4, 0x80000000u);
                 })),
                 PeError);
}

TEST(PeParse, ReadsARealWineDll) {
    const std::string path = std::string(QC_WINE_DLL_DIR) + "/kernel32.dll";
    if (!std::ifstream(path)) GTEST_SKIP() << path << " not installed";
    const PeInfo info = pecheck::loadPeFile(path);
    EXPECT_EQ(info.machine, pecheck::kMachineAmd64);
    EXPECT_TRUE(info.pe32Plus);
    EXPECT_TRUE(info.isDll);
    EXPECT_NE(std::find(info.exports.begin(), info.exports.end(), "CreateFileW"),
              info.exports.end());
    EXPECT_FALSE(info.imports.empty());
}

TEST(PeParse, ReportsUnreadableFile) {
    EXPECT_THROW(pecheck::loadPeFile("/nonexistent/plugin.dll"), PeError);
}

TEST(PeCheck, AcceptsOnlyWindowsSystemDllsAsImports) {
    for (const char* dll : {"KERNEL32.dll", "user32.DLL", "msvcrt.dll", "GDIPLUS.dll",
                            "api-ms-win-crt-runtime-l1-1-0.dll", "ucrtbase.dll"}) {
        EXPECT_TRUE(pecheck::isSystemDll(dll)) << dll;
    }
    for (const char* dll : {"libstdc++-6.dll", "libgcc_s_seh-1.dll", "libgcc_s_dw2-1.dll",
                            "libwinpthread-1.dll", "kernel32", "kernel32.dll.bak"}) {
        EXPECT_FALSE(pecheck::isSystemDll(dll)) << dll;
    }

    const PeInfo info = pecheck::parsePe(
        ImageBuilder(true, {"KERNEL32.dll", "libstdc++-6.dll", "libwinpthread-1.dll"}).build());
    pecheck::Expectations expected;
    expected.systemImportsOnly = true;
    const std::vector<std::string> problems = pecheck::checkExpectations(info, expected);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("libstdc++-6.dll"), std::string::npos);
    EXPECT_NE(problems[1].find("libwinpthread-1.dll"), std::string::npos);
}

TEST(PeCheck, ComparesMachineExportsAndResources) {
    const PeInfo info = pecheck::parsePe(sampleDll(false));

    pecheck::Expectations good;
    good.machine = pecheck::machineFromName("i386");
    good.exports = {"VSTPluginMain", "main"};
    good.exactExports = true;
    good.systemImportsOnly = true;
    good.resources = {
        {pecheck::parseResourceKey("PNG", true), pecheck::parseResourceKey("#115", false)},
        {pecheck::parseResourceKey("RT_DIALOG", true),
         pecheck::parseResourceKey("aboutdialog", false)}};
    EXPECT_TRUE(pecheck::checkExpectations(info, good).empty());

    pecheck::Expectations bad;
    bad.machine = pecheck::kMachineAmd64;
    bad.exports = {"VSTPluginMain"};
    bad.exactExports = true;
    bad.resources = {
        {pecheck::parseResourceKey("RT_BITMAP", true), pecheck::parseResourceKey("115", false)},
        {pecheck::parseResourceKey("PNG", true), pecheck::parseResourceKey("116", false)}};
    const std::vector<std::string> problems = pecheck::checkExpectations(info, bad);
    EXPECT_EQ(problems, (std::vector<std::string>{
                            "machine is i386, expected amd64",
                            "unexpected export main",
                            "missing resource RT_BITMAP:115",
                            "missing resource PNG:116",
                        }));
}

TEST(PeCheck, ParsesResourceKeys) {
    EXPECT_EQ(pecheck::parseResourceKey("RT_DIALOG", true).id, 5u);
    EXPECT_EQ(pecheck::parseResourceKey("rt_group_icon", true).id, 14u);
    EXPECT_FALSE(pecheck::parseResourceKey("#115", false).isName);
    EXPECT_EQ(pecheck::parseResourceKey("#115", false).id, 115u);
    // Names only map to standard types in the type position.
    EXPECT_TRUE(pecheck::parseResourceKey("RT_DIALOG", false).isName);
    EXPECT_THROW(pecheck::parseResourceKey("", true), PeError);
    EXPECT_THROW(pecheck::parseResourceKey("1234567", false), PeError);
}

}  // namespace
