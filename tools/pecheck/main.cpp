// pecheck: inspects a built Windows DLL or EXE without running it, so the 32-bit deliverable
// can be checked on a machine that cannot execute 32-bit code.
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "PeFile.h"

namespace {

void usage(std::ostream& out) {
    out << "usage: pecheck FILE [--list] [--machine i386|amd64] [--exports NAME[,NAME...]]\n"
           "               [--exact-exports] [--allowed-imports-system]\n"
           "               [--resource TYPE:NAME]...\n"
           "  TYPE is RT_DIALOG, RT_BITMAP, ... or a custom type such as PNG; TYPE and NAME\n"
           "  may be numbers (115 or #115).\n"
           "exit status: 0 all checks pass, 1 a check failed, 2 bad usage or unreadable file\n";
}

std::vector<std::string> splitList(const std::string& text) {
    std::vector<std::string> items;
    std::istringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        if (!item.empty()) items.push_back(item);
    }
    return items;
}

void list(const std::string& path, const pecheck::PeInfo& info) {
    std::cout << path << "\n"
              << "  format:  " << (info.pe32Plus ? "PE32+" : "PE32") << (info.isDll ? " DLL" : "")
              << "\n"
              << "  machine: " << pecheck::machineName(info.machine) << "\n"
              << "  exports (" << info.exports.size() << "):\n";
    for (const std::string& name : info.exports) std::cout << "    " << name << "\n";
    std::cout << "  imports (" << info.imports.size() << "):\n";
    for (const std::string& dll : info.imports) {
        std::cout << "    " << dll << (pecheck::isSystemDll(dll) ? "" : "  [not a system DLL]")
                  << "\n";
    }
    std::cout << "  resources (" << info.resources.size() << "):\n";
    for (const pecheck::ResourceLeaf& leaf : info.resources) {
        std::cout << "    " << pecheck::describeResourceKey(leaf.type, true) << ":"
                  << pecheck::describeResourceKey(leaf.name, false) << "  lang " << leaf.language
                  << "  " << leaf.size << " bytes\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string path;
    bool listAll = false;
    pecheck::Expectations expected;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            auto value = [&]() -> std::string {
                if (i + 1 >= argc) throw pecheck::PeError(arg + " needs a value");
                return argv[++i];
            };
            if (arg == "--help" || arg == "-h") {
                usage(std::cout);
                return 0;
            } else if (arg == "--list") {
                listAll = true;
            } else if (arg == "--machine") {
                const std::string name = value();
                expected.machine = pecheck::machineFromName(name);
                if (!expected.machine) throw pecheck::PeError("unknown machine " + name);
            } else if (arg == "--exports") {
                for (const std::string& name : splitList(value())) {
                    expected.exports.push_back(name);
                }
            } else if (arg == "--exact-exports") {
                expected.exactExports = true;
            } else if (arg == "--allowed-imports-system") {
                expected.systemImportsOnly = true;
            } else if (arg == "--resource") {
                const std::string wanted = value();
                const std::size_t colon = wanted.find(':');
                if (colon == std::string::npos) {
                    throw pecheck::PeError("--resource wants TYPE:NAME, got " + wanted);
                }
                expected.resources.push_back(
                    {pecheck::parseResourceKey(wanted.substr(0, colon), true),
                     pecheck::parseResourceKey(wanted.substr(colon + 1), false)});
            } else if (!arg.empty() && arg[0] == '-') {
                throw pecheck::PeError("unknown option " + arg);
            } else if (path.empty()) {
                path = arg;
            } else {
                throw pecheck::PeError("more than one file given");
            }
        }
        if (path.empty()) throw pecheck::PeError("no file given");
    } catch (const pecheck::PeError& e) {
        std::cerr << "pecheck: " << e.what() << "\n";
        usage(std::cerr);
        return 2;
    }

    pecheck::PeInfo info;
    try {
        info = pecheck::loadPeFile(path);
    } catch (const pecheck::PeError& e) {
        std::cerr << "pecheck: " << path << ": " << e.what() << "\n";
        return 2;
    }

    if (listAll) list(path, info);
    const std::vector<std::string> problems = pecheck::checkExpectations(info, expected);
    for (const std::string& problem : problems) {
        std::cerr << "pecheck: " << path << ": " << problem << "\n";
    }
    if (!problems.empty()) return 1;
    if (!listAll) std::cout << "pecheck: " << path << ": ok\n";
    return 0;
}
