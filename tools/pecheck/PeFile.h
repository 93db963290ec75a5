// Reads the parts of a Windows PE image (PE32 or PE32+) that a shipped plug-in DLL is judged
// by: target machine, export names, imported DLLs and the resource tree. Every read is
// bounds-checked, so a truncated or hostile file ends in PeError rather than a stray read.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pecheck {

constexpr std::uint16_t kMachineI386 = 0x014c;
constexpr std::uint16_t kMachineAmd64 = 0x8664;

class PeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A resource type, name or language key: either a number or a UTF-16 name stored as UTF-8.
struct ResourceKey {
    bool isName = false;
    std::uint32_t id = 0;
    std::string name;

    static ResourceKey fromId(std::uint32_t value) { return ResourceKey{false, value, {}}; }
    static ResourceKey fromName(std::string value) {
        return ResourceKey{true, 0, std::move(value)};
    }
};

struct ResourceLeaf {
    ResourceKey type;
    ResourceKey name;
    std::uint32_t language = 0;
    std::uint32_t size = 0;
};

struct PeInfo {
    std::uint16_t machine = 0;
    bool pe32Plus = false;
    bool isDll = false;
    std::vector<std::string> exports;  // in export name table order
    std::vector<std::string> imports;  // DLL names as written in the import directory
    std::vector<ResourceLeaf> resources;
};

// Throws PeError describing the first structural problem found.
PeInfo parsePe(const std::vector<std::uint8_t>& image);
PeInfo loadPeFile(const std::string& path);

std::string machineName(std::uint16_t machine);
std::optional<std::uint16_t> machineFromName(std::string_view name);

// True for DLLs every supported Windows version ships, so a plug-in importing only these
// needs no runtime installed next to it.
bool isSystemDll(std::string_view dllName);

// "RT_DIALOG", "PNG", "115" or "#115" for types; "ABOUTDIALOG", "115" or "#115" for names.
ResourceKey parseResourceKey(std::string_view text, bool isType);
std::string describeResourceKey(const ResourceKey& key, bool isType);
// Names compare case-insensitively because the resource compiler upper-cases them.
bool resourceKeyMatches(const ResourceKey& actual, const ResourceKey& wanted);

struct ResourceRequirement {
    ResourceKey type;
    ResourceKey name;
};

struct Expectations {
    std::optional<std::uint16_t> machine;
    std::vector<std::string> exports;
    bool exactExports = false;
    bool systemImportsOnly = false;
    std::vector<ResourceRequirement> resources;
};

// One human-readable message per unmet expectation; empty means the image passes.
std::vector<std::string> checkExpectations(const PeInfo& info, const Expectations& expected);

}  // namespace pecheck
