// kwpkg: shows, dumps to JSON and builds from JSON the library's package files.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "kwpkg/form_dump.h"
#include "kwpkg/image_kinds.h"
#include "kwpkg/kinds.h"

namespace {

using kwpkg::TBytes;
using kwpkg::TKwPkgError;

constexpr const char* kUsage =
    "usage: kwpkg info FILE | kwpkg dump FILE | kwpkg build SOURCE.json -o FILE | "
    "kwpkg export-image FILE ID OUT [--png] | kwpkg import-image FILE ID IN | "
    "kwpkg form dump FILE";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw TKwPkgError(std::string("cannot open: ") + std::strerror(errno));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw TKwPkgError("cannot read");
    return bytes;
}

TBytes ReadBytes(const std::string& path) {
    const std::string text = ReadFile(path);
    return TBytes(text.begin(), text.end());
}

// Written beside the target and renamed over it, so a failure never leaves a partial file.
void WriteFileAtomically(const std::string& path, const TBytes& bytes) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw TKwPkgError(std::string("cannot create: ") + std::strerror(errno));
    // mkstemp makes the file private; give it the permissions a new file normally gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0)
            break;
        written += static_cast<size_t>(n);
    }
    const bool ok = written == bytes.size() && ::fsync(fd) == 0;
    ::close(fd);
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        std::remove(temp.c_str());
        throw TKwPkgError("cannot write: " + reason);
    }
}

// Runs `action`, naming `path` in any error it raises.
template <class F>
auto InFile(const std::string& path, F action) {
    try {
        return action();
    } catch (const std::exception& error) {
        throw TKwPkgError(path + ": " + kwpkg::DescribeError(error));
    }
}

int ImageId(const std::string& text) {
    try {
        size_t used = 0;
        const int id = std::stoi(text, &used);
        if (used == text.size())
            return id;
    } catch (const std::exception&) {
    }
    throw TKwPkgError("ID: expected a number, got \"" + text + "\"");
}

// export-image FILE ID OUT [--png] and import-image FILE ID IN; both write a file.
std::string RunImageCommand(const std::vector<std::string>& args) {
    const bool png = args.size() == 5 && args[4] == "--png";
    if (args.size() != 4 && !(png && args[0] == "export-image"))
        throw TKwPkgError(kUsage);
    const int id = ImageId(args[2]);
    const TBytes file = InFile(args[1], [&] { return ReadBytes(args[1]); });
    if (args[0] == "export-image") {
        const TBytes image = InFile(args[1], [&] { return kwpkg::ExportImage(file, id, png); });
        InFile(args[3], [&] {
            WriteFileAtomically(args[3], image);
            return 0;
        });
        return {};
    }
    const TBytes picture = InFile(args[3], [&] { return ReadBytes(args[3]); });
    const TBytes updated =
        InFile(args[3], [&] { return kwpkg::ImportImage(file, id, args[3], picture); });
    InFile(args[1], [&] {
        WriteFileAtomically(args[1], updated);
        return 0;
    });
    return {};
}

// Runs one command; what it prints is returned so that nothing reaches standard output when
// the command fails.
std::string Run(const std::vector<std::string>& args) {
    if (args.size() == 1 && (args[0] == "help" || args[0] == "--help" || args[0] == "-h"))
        return std::string(kUsage) + "\n";
    if (args.size() == 2 && args[0] == "info")
        return InFile(args[1], [&] { return kwpkg::InfoText(ReadBytes(args[1])); });
    if (args.size() == 2 && args[0] == "dump")
        return InFile(args[1], [&] { return kwpkg::DumpText(ReadBytes(args[1])); });
    if (args.size() == 3 && args[0] == "form" && args[1] == "dump")
        return InFile(args[2], [&] { return kwpkg::DumpFormText(ReadBytes(args[2])); });
    if (args.size() == 4 && args[0] == "build" && args[2] == "-o") {
        const TBytes file = InFile(args[1], [&] { return kwpkg::BuildFile(ReadFile(args[1])); });
        InFile(args[3], [&] {
            WriteFileAtomically(args[3], file);
            return 0;
        });
        return {};
    }
    if (args.size() >= 4 && (args[0] == "export-image" || args[0] == "import-image"))
        return RunImageCommand(args);
    throw TKwPkgError(kUsage);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        const std::string output = Run(args);
        std::fwrite(output.data(), 1, output.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kwpkg: %s\n", kwpkg::DescribeError(error).c_str());
        return 1;
    }
}
