#include "test_paths.h"

#include <cstdlib>

namespace kw::test {
namespace {

std::string FromEnvironment(const char* name, const char* built) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : built;
}

}  // namespace

std::string SourceDir() {
    return FromEnvironment("KW_SOURCE_DIR", KW_TEST_SOURCE_DIR);
}
std::string BinaryDir() {
    return FromEnvironment("KW_BINARY_DIR", KW_TEST_BINARY_DIR);
}
std::string ReferenceDir() {
    return BinaryDir() + "/share/kwctrls/";
}

}  // namespace kw::test
