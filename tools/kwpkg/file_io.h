#pragma once

#include <string>

#include "kwpkg/kinds.h"

namespace kwpkg {

// The most any input may hold; package files, sources and pictures are far smaller, and a device
// or a runaway file must not exhaust memory.
inline constexpr std::size_t kMaxInputBytes = std::size_t{64} << 20;

// The bytes of a regular file of at most kMaxInputBytes. Errors name the reason (a directory,
// not a regular file, too large, or the system's reason) but not the file.
std::string ReadInput(const std::string& path);
TBytes ReadInputBytes(const std::string& path);
// Through the library's safe save: the old file survives any failure and keeps its mode, a link
// keeps pointing to the file it names. Errors name the file and the reason.
void WriteOutput(const std::string& path, const TBytes& bytes);
void WriteOutput(const std::string& path, const std::string& text);

}  // namespace kwpkg
