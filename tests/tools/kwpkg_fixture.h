#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

#include "kwpkg/kinds.h"
#include "test_paths.h"

namespace kw::test {

namespace fs = std::filesystem;

inline std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The one-line message the tool prints for what `action` throws; empty when nothing is thrown.
inline std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        return kwpkg::DescribeError(error);
    }
    return {};
}

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

// A folder of its own per test (test processes run in parallel) and the package tool run in it.
class KwPkgToolTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(testing::TempDir()) /
               ("kwpkg_" + std::to_string(::getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    RunResult Run(const std::string& args) const {
        const fs::path out = dir_ / ".stdout", err = dir_ / ".stderr";
        const std::string command = BinaryDir() + "/bin/kwpkg " + args + " >" + out.string() +
                                    " 2>" + err.string() + " </dev/null";
        const int status = std::system(command.c_str());
        RunResult result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
        fs::remove(out);
        fs::remove(err);
        return result;
    }
    std::string Write(const std::string& name, const std::string& contents) const {
        std::ofstream(dir_ / name, std::ios::binary) << contents;
        return (dir_ / name).string();
    }
    std::set<std::string> Names() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_))
            names.insert(entry.path().filename().string());
        return names;
    }
    // The command fails with one "kwpkg: " line naming `reason`, prints nothing else and leaves
    // the folder as it was: no output and no temporary file.
    void ExpectFailure(const std::string& args, const std::string& reason) const {
        const std::set<std::string> before = Names();
        const RunResult result = Run(args);
        EXPECT_EQ(result.status, 1) << args;
        EXPECT_EQ(result.out, "") << args;
        EXPECT_EQ(result.err.rfind("kwpkg: ", 0), 0u) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        EXPECT_NE(result.err.find(reason), std::string::npos) << args << ": " << result.err;
        EXPECT_EQ(Names(), before) << args;
    }

    fs::path dir_;
};

}  // namespace kw::test
