// kwsysimages: draws the library's "System" images and writes them as the JSON form of an images
// package, alone or in place of the "systemImages" member of a display source.
#include <cstdio>
#include <string>
#include <vector>

#include "kwpkg/file_io.h"
#include "kwpkg/kinds.h"
#include "kwsysimages/system_images.h"

namespace {

using kwpkg::Json;
using kwpkg::TKwPkgError;

constexpr const char* kUsage = "usage: kwsysimages [--display-source SOURCE.json] -o OUT.json";

Json ReadJson(const std::string& path) {
    try {
        return Json::parse(kwpkg::ReadInput(path));
    } catch (const std::exception& error) {
        throw TKwPkgError(path + ": " + error.what());
    }
}

void Run(const std::vector<std::string>& args) {
    std::string source, output;
    for (size_t i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == "--display-source" && source.empty()) {
            source = args[i + 1];
        } else if (args[i] == "-o" && output.empty()) {
            output = args[i + 1];
        } else {
            throw TKwPkgError(kUsage);
        }
    }
    if (output.empty() || args.size() % 2 != 0)
        throw TKwPkgError(kUsage);
    const Json result = source.empty() ? kwsysimages::SystemImagesJson()
                                       : kwsysimages::WithSystemImages(ReadJson(source));
    kwpkg::WriteOutput(output, kwpkg::FormatJson(result));
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        Run(args);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kwsysimages: %s\n", kwpkg::DescribeError(error).c_str());
        return 1;
    }
}
