#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/pkg_header.h"
#include "kwpkg/json_fields.h"

namespace kwpkg {

using TBytes = std::vector<std::uint8_t>;

// One package file kind: how to recognise its files and, for the kinds the library implements,
// how to turn a file into JSON and back. Later package kinds add their row to KindHandlers().
struct TKindHandler {
    const char* name;
    const kw::TKwPkgFormat* format;
    // The first version whose files carry a description after the header.
    int descriptionSince = 0;
    std::function<Json(const TBytes& file)> dump;
    std::function<TBytes(const Json& source)> build;
};

const std::vector<TKindHandler>& KindHandlers();
// Raise TKwPkgError for bytes of no known kind and for an unknown name.
const TKindHandler& KindOfFile(const TBytes& file);
const TKindHandler& KindNamed(const std::string& name);

// The commands; errors are raised as TKwPkgError or as library exceptions.
// A file of a newer version than this tool reads still shows its header; `warning` (when given)
// receives the note saying so, else is cleared.
std::string InfoText(const TBytes& file, std::string* warning = nullptr);
std::string DumpText(const TBytes& file);
// Image entries may name PNG files relative to `pictureFolder` (see ResolvePictureFiles).
TBytes BuildFile(const std::string& jsonText, const std::string& pictureFolder = {});
// A one-line description of any error the commands raise.
std::string DescribeError(const std::exception& error);

}  // namespace kwpkg
