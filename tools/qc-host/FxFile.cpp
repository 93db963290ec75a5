#include "tools/qc-host/FxFile.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace QcHost {
namespace {

constexpr std::size_t kHeaderSize = 24;
constexpr std::size_t kNameSize = 28;
constexpr std::size_t kFutureSize = 128;

class Writer {
public:
    void u32(std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<unsigned char>(v >> shift));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f32(float v) {
        std::uint32_t raw;
        std::memcpy(&raw, &v, 4);
        u32(raw);
    }
    void tag(const char* t) { bytes.insert(bytes.end(), t, t + 4); }
    void name(const std::string& text) {
        char field[kNameSize] = {};
        std::memcpy(field, text.data(), std::min(text.size(), kNameSize - 1));
        bytes.insert(bytes.end(), field, field + kNameSize);
    }
    void zeros(std::size_t n) { bytes.insert(bytes.end(), n, 0); }
    void raw(const std::vector<unsigned char>& data) {
        bytes.insert(bytes.end(), data.begin(), data.end());
    }
    // byteSize counts everything after itself.
    void patchSize(std::size_t start) {
        const std::uint32_t size = static_cast<std::uint32_t>(bytes.size() - start - 8);
        for (int b = 0; b < 4; ++b)
            bytes[start + 4 + b] = static_cast<unsigned char>(size >> (24 - 8 * b));
    }
    std::vector<unsigned char> bytes;
};

class Reader {
public:
    Reader(const std::vector<unsigned char>& data, std::size_t start) : bytes(data), pos(start) {}
    bool has(std::size_t n) const { return pos <= bytes.size() && bytes.size() - pos >= n; }
    std::uint32_t u32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = (v << 8) | bytes[pos++];
        return v;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    float f32() {
        const std::uint32_t raw = u32();
        float v;
        std::memcpy(&v, &raw, 4);
        return v;
    }
    bool tagIs(const char* t) const { return std::memcmp(bytes.data() + pos, t, 4) == 0; }
    void skip(std::size_t n) { pos += n; }
    std::string name() {
        const char* field = reinterpret_cast<const char*>(bytes.data() + pos);
        pos += kNameSize;
        return std::string(field, strnlen(field, kNameSize - 1));
    }
    const std::vector<unsigned char>& bytes;
    std::size_t pos;
};

void header(Writer& w, const char* magic, const FxFile& file, std::int32_t version) {
    w.tag("CcnK");
    w.u32(0);
    w.tag(magic);
    w.i32(version);
    w.i32(file.fxID);
    w.i32(file.fxVersion);
}

void writeParamsProgram(Writer& w, const FxFile& file, const FxProgram& program) {
    const std::size_t start = w.bytes.size();
    header(w, "FxCk", file, 1);
    w.i32(static_cast<std::int32_t>(program.params.size()));
    w.name(program.name);
    for (float v : program.params) w.f32(v);
    w.patchSize(start);
}

bool readParamsProgram(Reader& r, FxProgram& program, std::string& error) {
    if (!r.has(kHeaderSize + 4 + kNameSize)) {
        error = "truncated program record";
        return false;
    }
    if (!r.tagIs("CcnK")) {
        error = "a program record in the bank does not start with 'CcnK'";
        return false;
    }
    r.skip(8);
    if (!r.tagIs("FxCk")) {
        error = "a program record in the bank is not a parameter program ('FxCk')";
        return false;
    }
    r.skip(16);
    const std::uint32_t count = r.u32();
    program.name = r.name();
    if (count > 100000 || !r.has(4 * std::size_t{count})) {
        error = "truncated: " + std::to_string(count) + " parameter values do not fit in the file";
        return false;
    }
    program.params.resize(count);
    for (auto& v : program.params) v = r.f32();
    return true;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

const char* fxMagic(FxKind kind) {
    switch (kind) {
        case FxKind::ProgramParams: return "FxCk";
        case FxKind::ProgramChunk: return "FPCh";
        case FxKind::BankParams: return "FxBk";
        case FxKind::BankChunk: return "FBCh";
    }
    return "????";
}

std::string formatId(std::int32_t id) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(id));
    std::string text = hex;
    std::string chars;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const unsigned char c = static_cast<unsigned char>(static_cast<std::uint32_t>(id) >> shift);
        if (c == 0 && chars.empty()) continue;  // leading zero bytes are common in IDs
        if (c < 0x20 || c > 0x7E) return text;
        chars += static_cast<char>(c);
    }
    return chars.empty() ? text : text + " '" + chars + "'";
}

std::vector<unsigned char> encodeFx(const FxFile& file) {
    Writer w;
    switch (file.kind) {
        case FxKind::ProgramParams: writeParamsProgram(w, file, file.program); break;
        case FxKind::ProgramChunk:
            header(w, "FPCh", file, 1);
            w.i32(file.numParams);
            w.name(file.program.name);
            w.u32(static_cast<std::uint32_t>(file.chunk.size()));
            w.raw(file.chunk);
            w.patchSize(0);
            break;
        case FxKind::BankParams:
        case FxKind::BankChunk: {
            const bool chunk = file.kind == FxKind::BankChunk;
            header(w, chunk ? "FBCh" : "FxBk", file, 2);
            w.i32(chunk ? file.numPrograms : static_cast<std::int32_t>(file.programs.size()));
            w.i32(file.currentProgram);
            w.zeros(kFutureSize - 4);
            if (chunk) {
                w.u32(static_cast<std::uint32_t>(file.chunk.size()));
                w.raw(file.chunk);
            } else {
                for (const auto& program : file.programs) writeParamsProgram(w, file, program);
            }
            w.patchSize(0);
            break;
        }
    }
    return w.bytes;
}

bool decodeFx(const std::vector<unsigned char>& bytes, FxFile& file, std::string& error) {
    Reader r(bytes, 0);
    if (!r.has(4) || !r.tagIs("CcnK")) {
        error = "not a preset file: it does not start with 'CcnK'";
        return false;
    }
    if (!r.has(kHeaderSize)) {
        error = "truncated: shorter than the 24-byte header";
        return false;
    }
    r.skip(8);
    if (r.tagIs("FxCk"))
        file.kind = FxKind::ProgramParams;
    else if (r.tagIs("FPCh"))
        file.kind = FxKind::ProgramChunk;
    else if (r.tagIs("FxBk"))
        file.kind = FxKind::BankParams;
    else if (r.tagIs("FBCh"))
        file.kind = FxKind::BankChunk;
    else {
        error = "unknown preset type (expected 'FxCk', 'FPCh', 'FxBk' or 'FBCh')";
        return false;
    }
    r.skip(4);
    file.version = r.i32();
    file.fxID = r.i32();
    file.fxVersion = r.i32();
    file.currentProgram = 0;

    if (file.kind == FxKind::ProgramParams) {
        Reader whole(bytes, 0);
        if (!readParamsProgram(whole, file.program, error)) return false;
        file.numParams = static_cast<std::int32_t>(file.program.params.size());
        return true;
    }
    if (file.kind == FxKind::ProgramChunk) {
        if (!r.has(4 + kNameSize + 4)) {
            error = "truncated program header";
            return false;
        }
        file.numParams = r.i32();
        file.program.name = r.name();
    } else {
        if (!r.has(4 + kFutureSize)) {
            error = "truncated bank header";
            return false;
        }
        file.numPrograms = r.i32();
        const std::int32_t current = r.i32();
        // Version 1 banks leave this area zero and the field undefined.
        file.currentProgram = file.version >= 2 ? current : 0;
        r.skip(kFutureSize - 4);
        if (file.kind == FxKind::BankParams) {
            if (file.numPrograms < 0 || file.numPrograms > 100000) {
                error = "implausible program count " + std::to_string(file.numPrograms);
                return false;
            }
            // Checked before anything is allocated for them: a few bytes must not claim
            // megabytes of programs.
            const std::size_t claimed = static_cast<std::size_t>(file.numPrograms);
            if (!r.has(claimed * (kHeaderSize + 4 + kNameSize))) {
                error = "truncated: " + std::to_string(claimed) +
                        " program records do not fit in the file";
                return false;
            }
            file.programs.resize(claimed);
            for (auto& program : file.programs)
                if (!readParamsProgram(r, program, error)) return false;
            file.numParams = file.programs.empty()
                                 ? 0
                                 : static_cast<std::int32_t>(file.programs[0].params.size());
            return true;
        }
        if (!r.has(4)) {
            error = "truncated bank header";
            return false;
        }
    }
    const std::uint32_t size = r.u32();
    if (!r.has(size)) {
        error = "truncated: the chunk declares " + std::to_string(size) +
                " bytes, the file holds " + std::to_string(bytes.size() - r.pos);
        return false;
    }
    file.chunk.assign(bytes.begin() + static_cast<std::ptrdiff_t>(r.pos),
                      bytes.begin() + static_cast<std::ptrdiff_t>(r.pos + size));
    return true;
}

bool readFxFile(const std::string& path, FxFile& file, std::string& error) {
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        error = path + ": cannot open for reading";
        return false;
    }
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f.get())) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    if (!decodeFx(bytes, file, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool writeFxFile(const std::string& path, const FxFile& file, std::string& error) {
    const auto bytes = encodeFx(file);
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "wb"));
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) != bytes.size() ||
        std::fclose(f.release()) != 0) {
        error = path + ": cannot write";
        return false;
    }
    return true;
}

}  // namespace QcHost
