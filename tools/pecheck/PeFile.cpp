#include "PeFile.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

namespace pecheck {
namespace {

constexpr std::uint16_t kOptionalMagicPe32 = 0x10b;
constexpr std::uint16_t kOptionalMagicPe32Plus = 0x20b;
constexpr std::uint16_t kCharacteristicDll = 0x2000;
constexpr std::uint32_t kDirectoryExport = 0;
constexpr std::uint32_t kDirectoryImport = 1;
constexpr std::uint32_t kDirectoryResource = 2;
constexpr std::uint32_t kResourceHighBit = 0x80000000u;

// Caps that keep a corrupt count from turning into a multi-gigabyte allocation or a long loop;
// real plug-ins stay orders of magnitude below them.
constexpr std::uint32_t kMaxNames = 65536;
constexpr std::uint32_t kMaxImports = 4096;
constexpr std::size_t kMaxResourceLeaves = 65536;
constexpr std::size_t kMaxStringLength = 4096;

std::string hex(std::uint64_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << value;
    return out.str();
}

struct Section {
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;
};

class Image {
public:
    explicit Image(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }

    void require(std::uint64_t offset, std::uint64_t length, const char* what) const {
        if (offset > bytes_.size() || length > bytes_.size() - offset) {
            throw PeError(std::string("file truncated: ") + what + " at offset " + hex(offset) +
                          " needs " + std::to_string(length) + " bytes, file has " +
                          std::to_string(bytes_.size()));
        }
    }

    std::uint16_t u16(std::uint64_t offset, const char* what) const {
        require(offset, 2, what);
        return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }

    std::uint32_t u32(std::uint64_t offset, const char* what) const {
        require(offset, 4, what);
        return static_cast<std::uint32_t>(bytes_[offset]) |
               (static_cast<std::uint32_t>(bytes_[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(bytes_[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(bytes_[offset + 3]) << 24);
    }

    std::uint8_t u8(std::uint64_t offset, const char* what) const {
        require(offset, 1, what);
        return bytes_[offset];
    }

private:
    const std::vector<std::uint8_t>& bytes_;
};

class Parser {
public:
    explicit Parser(const std::vector<std::uint8_t>& bytes) : image_(bytes) {}

    PeInfo run() {
        PeInfo info;
        if (image_.size() < 2 || image_.u8(0, "DOS signature") != 'M' ||
            image_.u8(1, "DOS signature") != 'Z') {
            throw PeError("not a PE file: missing MZ signature");
        }
        const std::uint64_t peOffset = image_.u32(0x3c, "PE header offset");
        image_.require(peOffset, 4, "PE signature");
        if (image_.u8(peOffset, "PE signature") != 'P' ||
            image_.u8(peOffset + 1, "PE signature") != 'E' ||
            image_.u8(peOffset + 2, "PE signature") != 0 ||
            image_.u8(peOffset + 3, "PE signature") != 0) {
            throw PeError("not a PE file: missing PE signature at " + hex(peOffset));
        }

        const std::uint64_t coff = peOffset + 4;
        info.machine = image_.u16(coff, "COFF header");
        const std::uint16_t sectionCount = image_.u16(coff + 2, "COFF header");
        const std::uint16_t optionalSize = image_.u16(coff + 16, "COFF header");
        const std::uint16_t characteristics = image_.u16(coff + 18, "COFF header");
        info.isDll = (characteristics & kCharacteristicDll) != 0;

        const std::uint64_t optional = coff + 20;
        image_.require(optional, optionalSize, "optional header");
        const std::uint16_t magic = image_.u16(optional, "optional header magic");
        std::uint64_t directoryCountOffset = 0;
        if (magic == kOptionalMagicPe32) {
            directoryCountOffset = 92;
        } else if (magic == kOptionalMagicPe32Plus) {
            info.pe32Plus = true;
            directoryCountOffset = 108;
        } else {
            throw PeError("unknown optional header magic " + hex(magic));
        }
        if (optionalSize < directoryCountOffset + 4) {
            throw PeError("optional header too small: " + std::to_string(optionalSize) + " bytes");
        }
        headersSize_ = image_.u32(optional + 60, "optional header");
        const std::uint32_t directoryCount =
            image_.u32(optional + directoryCountOffset, "optional header");
        const std::uint64_t directories = optional + directoryCountOffset + 4;
        // Directories past the declared optional header size do not exist, whatever the count.
        const std::uint64_t directoriesInHeader = (optionalSize - directoryCountOffset - 4) / 8;
        directoryCount_ = static_cast<std::uint32_t>(
            std::min<std::uint64_t>(directoryCount, directoriesInHeader));
        directoriesOffset_ = directories;

        const std::uint64_t sectionTable = optional + optionalSize;
        image_.require(sectionTable, std::uint64_t{sectionCount} * 40, "section table");
        for (std::uint16_t i = 0; i < sectionCount; ++i) {
            const std::uint64_t s = sectionTable + std::uint64_t{i} * 40;
            Section section;
            section.virtualSize = image_.u32(s + 8, "section header");
            section.virtualAddress = image_.u32(s + 12, "section header");
            section.rawSize = image_.u32(s + 16, "section header");
            section.rawOffset = image_.u32(s + 20, "section header");
            sections_.push_back(section);
        }

        readExports(info);
        readImports(info);
        readResources(info);
        return info;
    }

private:
    struct Directory {
        std::uint32_t rva = 0;
        std::uint32_t size = 0;
    };

    Directory directory(std::uint32_t index) const {
        if (index >= directoryCount_) return {};
        const std::uint64_t d = directoriesOffset_ + std::uint64_t{index} * 8;
        return {image_.u32(d, "data directory"), image_.u32(d + 4, "data directory")};
    }

    // File offset of [rva, rva + length), which must lie in one section's file-backed bytes.
    std::uint64_t offsetOf(std::uint64_t rva, std::uint64_t length, const char* what) const {
        if (rva + length <= headersSize_) {
            image_.require(rva, length, what);
            return rva;
        }
        for (const Section& s : sections_) {
            if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize &&
                length <= s.rawSize - (rva - s.virtualAddress)) {
                const std::uint64_t offset = s.rawOffset + (rva - s.virtualAddress);
                image_.require(offset, length, what);
                return offset;
            }
        }
        throw PeError(std::string(what) + ": RVA " + hex(rva) + " (+" + std::to_string(length) +
                      ") is outside every section's file data");
    }

    std::string asciiAt(std::uint64_t rva, const char* what) const {
        std::string text;
        for (std::size_t i = 0; i < kMaxStringLength; ++i) {
            const std::uint8_t c = image_.u8(offsetOf(rva + i, 1, what), what);
            if (c == 0) return text;
            text.push_back(static_cast<char>(c));
        }
        throw PeError(std::string(what) + ": unterminated string at RVA " + hex(rva));
    }

    void readExports(PeInfo& info) const {
        const Directory dir = directory(kDirectoryExport);
        if (dir.rva == 0 || dir.size == 0) return;
        const std::uint64_t base = offsetOf(dir.rva, 40, "export directory");
        const std::uint32_t nameCount = image_.u32(base + 24, "export directory");
        const std::uint32_t namesRva = image_.u32(base + 32, "export directory");
        if (nameCount > kMaxNames) {
            throw PeError("export directory claims " + std::to_string(nameCount) + " names");
        }
        if (nameCount == 0) return;
        const std::uint64_t names =
            offsetOf(namesRva, std::uint64_t{nameCount} * 4, "export name table");
        for (std::uint32_t i = 0; i < nameCount; ++i) {
            const std::uint32_t nameRva = image_.u32(names + std::uint64_t{i} * 4, "export name");
            info.exports.push_back(asciiAt(nameRva, "export name"));
        }
    }

    void readImports(PeInfo& info) const {
        const Directory dir = directory(kDirectoryImport);
        if (dir.rva == 0 || dir.size == 0) return;
        for (std::uint32_t i = 0;; ++i) {
            if (i == kMaxImports) throw PeError("import directory has no terminating entry");
            const std::uint64_t entry =
                offsetOf(std::uint64_t{dir.rva} + std::uint64_t{i} * 20, 20, "import directory");
            bool allZero = true;
            for (int word = 0; word < 5; ++word) {
                if (image_.u32(entry + word * 4, "import directory") != 0) allZero = false;
            }
            if (allZero) return;
            const std::uint32_t nameRva = image_.u32(entry + 12, "import directory");
            info.imports.push_back(asciiAt(nameRva, "imported DLL name"));
        }
    }

    std::string resourceString(std::uint64_t resourceRva, std::uint32_t offset) const {
        const std::uint64_t rva = resourceRva + offset;
        const std::uint16_t units = image_.u16(offsetOf(rva, 2, "resource name"), "resource name");
        const std::uint64_t chars = offsetOf(rva + 2, std::uint64_t{units} * 2, "resource name");
        std::string text;
        for (std::uint16_t i = 0; i < units; ++i) {
            std::uint32_t c = image_.u16(chars + std::uint64_t{i} * 2, "resource name");
            if (c >= 0xd800 && c < 0xdc00 && i + 1 < units) {
                const std::uint16_t low =
                    image_.u16(chars + (std::uint64_t{i} + 1) * 2, "resource name");
                if (low >= 0xdc00 && low < 0xe000) {
                    c = 0x10000 + ((c - 0xd800) << 10) + (low - 0xdc00);
                    ++i;
                }
            }
            if (c >= 0xd800 && c < 0xe000) c = '?';
            if (c < 0x80) {
                text.push_back(static_cast<char>(c));
            } else if (c < 0x800) {
                text.push_back(static_cast<char>(0xc0 | (c >> 6)));
                text.push_back(static_cast<char>(0x80 | (c & 0x3f)));
            } else if (c < 0x10000) {
                text.push_back(static_cast<char>(0xe0 | (c >> 12)));
                text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3f)));
                text.push_back(static_cast<char>(0x80 | (c & 0x3f)));
            } else {
                text.push_back(static_cast<char>(0xf0 | (c >> 18)));
                text.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3f)));
                text.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3f)));
                text.push_back(static_cast<char>(0x80 | (c & 0x3f)));
            }
        }
        return text;
    }

    // The tree is always type / name / language; a subdirectory pointing back up would loop
    // forever, which the fixed depth rules out.
    void readResourceLevel(PeInfo& info, std::uint64_t resourceRva, std::uint32_t dirOffset,
                           int depth, ResourceKey keys[2]) const {
        const std::uint64_t dir = offsetOf(resourceRva + dirOffset, 16, "resource directory");
        const std::uint32_t count = std::uint32_t{image_.u16(dir + 12, "resource directory")} +
                                    image_.u16(dir + 14, "resource directory");
        const std::uint64_t entries =
            offsetOf(resourceRva + dirOffset + 16, std::uint64_t{count} * 8, "resource entries");
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint32_t nameField = image_.u32(entries + i * 8, "resource entry");
            const std::uint32_t dataField = image_.u32(entries + i * 8 + 4, "resource entry");
            ResourceKey key = (nameField & kResourceHighBit)
                                  ? ResourceKey::fromName(
                                        resourceString(resourceRva, nameField & ~kResourceHighBit))
                                  : ResourceKey::fromId(nameField);
            const bool isSubdirectory = (dataField & kResourceHighBit) != 0;
            if (depth < 2) {
                if (!isSubdirectory) {
                    throw PeError("resource tree: data entry where a directory belongs");
                }
                keys[depth] = key;
                readResourceLevel(info, resourceRva, dataField & ~kResourceHighBit, depth + 1,
                                  keys);
                continue;
            }
            if (isSubdirectory) throw PeError("resource tree deeper than type/name/language");
            if (key.isName) throw PeError("resource language given as a name");
            if (info.resources.size() == kMaxResourceLeaves) {
                throw PeError("resource tree has too many entries");
            }
            const std::uint64_t data = offsetOf(resourceRva + dataField, 16, "resource data entry");
            const std::uint32_t dataRva = image_.u32(data, "resource data entry");
            const std::uint32_t size = image_.u32(data + 4, "resource data entry");
            offsetOf(dataRva, size, "resource data");
            info.resources.push_back(ResourceLeaf{keys[0], keys[1], key.id, size});
        }
    }

    void readResources(PeInfo& info) const {
        const Directory dir = directory(kDirectoryResource);
        if (dir.rva == 0 || dir.size == 0) return;
        ResourceKey keys[2];
        readResourceLevel(info, dir.rva, 0, 0, keys);
    }

    Image image_;
    std::vector<Section> sections_;
    std::uint64_t headersSize_ = 0;
    std::uint64_t directoriesOffset_ = 0;
    std::uint32_t directoryCount_ = 0;
};

std::string lower(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

struct NamedType {
    const char* name;
    std::uint32_t id;
};

constexpr NamedType kResourceTypes[] = {
    {"RT_CURSOR", 1},      {"RT_BITMAP", 2},     {"RT_ICON", 3},          {"RT_MENU", 4},
    {"RT_DIALOG", 5},      {"RT_STRING", 6},     {"RT_FONTDIR", 7},       {"RT_FONT", 8},
    {"RT_ACCELERATOR", 9}, {"RT_RCDATA", 10},    {"RT_MESSAGETABLE", 11}, {"RT_GROUP_CURSOR", 12},
    {"RT_GROUP_ICON", 14}, {"RT_VERSION", 16},   {"RT_DLGINCLUDE", 17},   {"RT_PLUGPLAY", 19},
    {"RT_VXD", 20},        {"RT_ANICURSOR", 21}, {"RT_ANIICON", 22},      {"RT_HTML", 23},
    {"RT_MANIFEST", 24},
};

}  // namespace

PeInfo parsePe(const std::vector<std::uint8_t>& image) {
    return Parser(image).run();
}

PeInfo loadPeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw PeError("cannot open " + path);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad()) throw PeError("cannot read " + path);
    return parsePe(bytes);
}

std::string machineName(std::uint16_t machine) {
    switch (machine) {
        case kMachineI386: return "i386";
        case kMachineAmd64: return "amd64";
        default: return "unknown(" + hex(machine) + ")";
    }
}

std::optional<std::uint16_t> machineFromName(std::string_view name) {
    const std::string n = lower(name);
    if (n == "i386" || n == "x86") return kMachineI386;
    if (n == "amd64" || n == "x64" || n == "x86-64" || n == "x86_64") return kMachineAmd64;
    return std::nullopt;
}

bool isSystemDll(std::string_view dllName) {
    static const std::set<std::string> kSystem = {
        "kernel32.dll", "user32.dll",  "gdi32.dll",    "gdiplus.dll",  "ole32.dll",
        "oleaut32.dll", "shell32.dll", "comctl32.dll", "comdlg32.dll", "advapi32.dll",
        "msvcrt.dll",   "msimg32.dll", "winmm.dll",    "ucrtbase.dll", "uxtheme.dll",
        "shlwapi.dll",  "version.dll", "ws2_32.dll",   "dwmapi.dll",   "imm32.dll",
    };
    const std::string n = lower(dllName);
    // The Universal CRT is reached through API-set forwarders that are part of Windows.
    if (n.rfind("api-ms-win-crt-", 0) == 0 && n.size() > 4 && n.substr(n.size() - 4) == ".dll") {
        return true;
    }
    return kSystem.count(n) != 0;
}

ResourceKey parseResourceKey(std::string_view text, bool isType) {
    std::string_view body = text;
    if (!body.empty() && body.front() == '#') body.remove_prefix(1);
    if (!body.empty() && std::all_of(body.begin(), body.end(),
                                     [](unsigned char c) { return std::isdigit(c) != 0; })) {
        if (body.size() > 5) throw PeError("resource id out of range: " + std::string(text));
        return ResourceKey::fromId(static_cast<std::uint32_t>(std::stoul(std::string(body))));
    }
    if (text.empty()) throw PeError("empty resource type or name");
    if (isType) {
        for (const NamedType& t : kResourceTypes) {
            if (lower(text) == lower(t.name)) return ResourceKey::fromId(t.id);
        }
    }
    return ResourceKey::fromName(std::string(text));
}

std::string describeResourceKey(const ResourceKey& key, bool isType) {
    if (key.isName) return key.name;
    if (isType) {
        for (const NamedType& t : kResourceTypes) {
            if (t.id == key.id) return t.name;
        }
    }
    return std::to_string(key.id);
}

bool resourceKeyMatches(const ResourceKey& actual, const ResourceKey& wanted) {
    if (actual.isName != wanted.isName) return false;
    if (!actual.isName) return actual.id == wanted.id;
    return lower(actual.name) == lower(wanted.name);
}

std::vector<std::string> checkExpectations(const PeInfo& info, const Expectations& expected) {
    std::vector<std::string> problems;
    if (expected.machine && *expected.machine != info.machine) {
        problems.push_back("machine is " + machineName(info.machine) + ", expected " +
                           machineName(*expected.machine));
    }
    for (const std::string& name : expected.exports) {
        if (std::find(info.exports.begin(), info.exports.end(), name) == info.exports.end()) {
            problems.push_back("missing export " + name);
        }
    }
    if (expected.exactExports) {
        for (const std::string& name : info.exports) {
            if (std::find(expected.exports.begin(), expected.exports.end(), name) ==
                expected.exports.end()) {
                problems.push_back("unexpected export " + name);
            }
        }
    }
    if (expected.systemImportsOnly) {
        for (const std::string& dll : info.imports) {
            if (!isSystemDll(dll)) {
                problems.push_back("imports " + dll +
                                   ", which is not a Windows system DLL (link the runtime "
                                   "statically)");
            }
        }
    }
    for (const ResourceRequirement& r : expected.resources) {
        const bool found =
            std::any_of(info.resources.begin(), info.resources.end(), [&](const ResourceLeaf& l) {
                return resourceKeyMatches(l.type, r.type) && resourceKeyMatches(l.name, r.name);
            });
        if (!found) {
            problems.push_back("missing resource " + describeResourceKey(r.type, true) + ":" +
                               describeResourceKey(r.name, false));
        }
    }
    return problems;
}

}  // namespace pecheck
