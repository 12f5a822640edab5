#pragma once

#include "kwpkg/kinds.h"

namespace kwpkg {

// The three privileges files, as stored. Access and visibles files are only valid under the
// file name and application key they were written with, so the JSON carries both
// ("fileName", "applicationKey") and a build writes them back verbatim; renaming the built
// file, or loading it under another key, is refused by the library as for any other file.
Json DumpAccess(const TBytes& file);
TBytes BuildAccess(const Json& source);
Json DumpVisibles(const TBytes& file);
TBytes BuildVisibles(const Json& source);
Json DumpTemplate(const TBytes& file);
TBytes BuildTemplate(const Json& source);

}  // namespace kwpkg
