#pragma once

#include <string>

#include "kwpkg/kinds.h"

namespace kwpkg {

// The component tree of a form stream as JSON: each component's class, name, properties in
// stream order and children. Values keep their stored kind: integers, booleans and strings are
// plain JSON values, a list is an array, and the kinds JSON cannot tell apart are objects with
// one member naming the kind ({"ident": ...}, {"extended": ...}, {"set": [...]},
// {"collection": [...]}, {"binary": base64}). Properties of sub-objects (stored as "Font.Size")
// are nested: {"name": "Font", "properties": [{"name": "Size", "value": 9}]}.
Json DumpForm(const TBytes& stream);
std::string DumpFormText(const TBytes& stream);

}  // namespace kwpkg
