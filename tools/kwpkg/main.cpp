// kwpkg: shows, dumps to JSON and builds from JSON the library's package files.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "kwpkg/file_io.h"
#include "kwpkg/form_dump.h"
#include "kwpkg/image_kinds.h"
#include "kwpkg/kinds.h"

namespace {

using kwpkg::TBytes;
using kwpkg::TKwPkgError;

constexpr const char* kUsage =
    "usage: kwpkg info FILE | kwpkg dump FILE | kwpkg build SOURCE.json -o FILE [--pictures DIR] | "
    "kwpkg export-image FILE ID OUT [--png] | kwpkg import-image FILE ID IN | "
    "kwpkg form dump FILE";

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
    const TBytes file = InFile(args[1], [&] { return kwpkg::ReadInputBytes(args[1]); });
    if (args[0] == "export-image") {
        const TBytes image = InFile(args[1], [&] { return kwpkg::ExportImage(file, id, png); });
        kwpkg::WriteOutput(args[3], image);
        return {};
    }
    InFile(args[1], [&] {
        kwpkg::CheckImportTarget(file, id);
        return 0;
    });
    const TBytes picture = InFile(args[3], [&] { return kwpkg::ReadInputBytes(args[3]); });
    const TBytes updated =
        InFile(args[3], [&] { return kwpkg::ImportImage(file, id, args[3], picture); });
    kwpkg::WriteOutput(args[1], updated);
    return {};
}

// Runs one command; what it prints is returned so that nothing reaches standard output when
// the command fails.
std::string Run(const std::vector<std::string>& args) {
    if (args.size() == 1 && (args[0] == "help" || args[0] == "--help" || args[0] == "-h"))
        return std::string(kUsage) + "\n";
    if (args.size() == 2 && args[0] == "info") {
        return InFile(args[1], [&] {
            std::string warning;
            std::string text = kwpkg::InfoText(kwpkg::ReadInputBytes(args[1]), &warning);
            if (!warning.empty())
                std::fprintf(stderr, "kwpkg: %s: %s\n", args[1].c_str(), warning.c_str());
            return text;
        });
    }
    if (args.size() == 2 && args[0] == "dump")
        return InFile(args[1], [&] { return kwpkg::DumpText(kwpkg::ReadInputBytes(args[1])); });
    if (args.size() == 3 && args[0] == "form" && args[1] == "dump")
        return InFile(args[2], [&] { return kwpkg::DumpFormText(kwpkg::ReadInputBytes(args[2])); });
    if ((args.size() == 4 || (args.size() == 6 && args[4] == "--pictures")) && args[0] == "build" &&
        args[2] == "-o") {
        // Picture files are named relative to the source, unless the source was generated
        // elsewhere from one that lives beside its pictures.
        const std::string pictures =
            args.size() == 6 ? args[5] : std::filesystem::path(args[1]).parent_path().string();
        const TBytes file = InFile(args[1], [&] {
            return kwpkg::BuildFile(kwpkg::ReadInput(args[1]), pictures.empty() ? "." : pictures);
        });
        kwpkg::WriteOutput(args[3], file);
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
