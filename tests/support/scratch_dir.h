#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/core/files.h"
#include "platform/text/unicode.h"

namespace kw::test {

// An empty folder of the running test, removed with this object. Its name holds the process and
// the test, because ctest runs the cases of one executable as parallel processes.
class ScratchDir {
public:
    explicit ScratchDir(const std::string& prefix = "kw") {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                (prefix + "_" + std::to_string(::getpid()) + "_" +
                 (test != nullptr ? std::string(test->test_suite_name()) + "_" + test->name()
                                  : std::string("none")));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The folder with a trailing separator, as the library's file routines take it.
    String Folder() const { return AddPathBar(Utf8ToString(path_.string())); }
    String Of(const std::string& name) const { return Utf8ToString((path_ / name).string()); }

private:
    std::filesystem::path path_;
};

}  // namespace kw::test
