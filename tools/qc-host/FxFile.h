// The preset containers hosts keep on disk: programs (.fxp) and banks (.fxb), each either of
// parameter values or of one opaque chunk the plug-in made. Headers are big-endian; chunk
// bytes pass through untouched.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace QcHost {

enum class FxKind {
    ProgramParams,  // 'FxCk'
    ProgramChunk,   // 'FPCh'
    BankParams,     // 'FxBk'
    BankChunk,      // 'FBCh'
};

struct FxProgram {
    std::string name;  // at most 27 characters are kept
    std::vector<float> params;
};

struct FxFile {
    FxKind kind = FxKind::ProgramChunk;
    std::int32_t version = 1;  // written as 1 for programs and 2 for banks
    std::int32_t fxID = 0;
    std::int32_t fxVersion = 0;
    std::int32_t numParams = 0;        // programs: as stored; banks of parameters: per program
    std::int32_t currentProgram = 0;   // banks; meaningful only when version >= 2
    FxProgram program;                 // ProgramParams, and the name of a ProgramChunk
    std::vector<FxProgram> programs;   // BankParams
    std::vector<unsigned char> chunk;  // ProgramChunk and BankChunk
    // BankChunk: the program count the header declares.
    std::int32_t numPrograms = 0;

    bool isBank() const { return kind == FxKind::BankParams || kind == FxKind::BankChunk; }
    bool isChunk() const { return kind == FxKind::ProgramChunk || kind == FxKind::BankChunk; }
};

std::vector<unsigned char> encodeFx(const FxFile& file);
// Accepts what hosts write: byteSize and the program header's count are not trusted (some
// writers store 0 or another count), only lengths that fit inside the bytes given.
bool decodeFx(const std::vector<unsigned char>& bytes, FxFile& file, std::string& error);

bool readFxFile(const std::string& path, FxFile& file, std::string& error);
bool writeFxFile(const std::string& path, const FxFile& file, std::string& error);

const char* fxMagic(FxKind kind);
// The four-character form of an ID when it is printable, e.g. "\0QCV" shows as 0x00514356.
std::string formatId(std::int32_t id);

}  // namespace QcHost
