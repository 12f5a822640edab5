#pragma once

#include "kwpkg/kinds.h"

namespace kwpkg {

// Variables packages: the tree in file order, so files of any collation round-trip.
Json DumpVariables(const TBytes& file);
TBytes BuildVariables(const Json& source);
// Setup packages: keys, database conventions as stored, and the three file names.
Json DumpSetup(const TBytes& file);
TBytes BuildSetup(const Json& source);

}  // namespace kwpkg
