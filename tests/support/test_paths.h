#pragma once

#include <string>

namespace kw::test {

// The checkout and the build tree the tests were built from; the environment overrides them
// so that a copied test binary can still find its data.
std::string SourceDir();
std::string BinaryDir();
// Where the build puts the reference package files ("English.lan", "standard.dis"...).
std::string ReferenceDir();

}  // namespace kw::test
