// What kwpkg reads and writes: only small regular files in, outputs that keep their mode and
// links, a newer file's header shown with a warning, images imported without losing settings.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "display/image_imkw.h"
#include "display/package_image.h"
#include "kwpkg/image_kinds.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/region.h"
#include "test_paths.h"

namespace kw {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Binary() {
    return test::BinaryDir() + "/bin/kwpkg";
}

unsigned ModeOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

class KwPkgFilesTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(testing::TempDir()) /
               ("kwpkg_files_" + std::to_string(::getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    RunResult Run(const std::string& args) const {
        const fs::path out = dir_ / "stdout", err = dir_ / "stderr";
        const std::string command =
            Binary() + " " + args + " >" + out.string() + " 2>" + err.string() + " </dev/null";
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
    void ExpectRefused(const std::string& args, const std::string& reason) const {
        const RunResult result = Run(args);
        EXPECT_EQ(result.status, 1) << args;
        EXPECT_EQ(result.out, "") << args;
        EXPECT_NE(result.err.find(reason), std::string::npos) << args << ": " << result.err;
    }
    bool OnlyNames(std::initializer_list<std::string> names) const {
        std::size_t count = 0;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            ++count;
            if (std::find(names.begin(), names.end(), entry.path().filename()) == names.end())
                return false;
        }
        return count == names.size();
    }

    fs::path dir_;
};

TEST_F(KwPkgFilesTest, OutputsKeepTheModeAndTheLinkOfWhatTheyReplace) {
    const std::string source = Write("s.json", R"({"kind": "strings", "description": "new"})");
    const std::string target = Write("private.pst", "old");
    fs::permissions(target, fs::perms(0600));
    ASSERT_EQ(Run("build " + source + " -o " + target).status, 0);
    EXPECT_EQ(ModeOf(target), 0600u);
    EXPECT_NE(Slurp(target).find("KwPkgStrings"), std::string::npos);

    const std::string real = Write("real.pst", "old");
    fs::permissions(real, fs::perms(0640));
    fs::create_symlink("real.pst", dir_ / "link.pst");
    ASSERT_EQ(Run("build " + source + " -o " + (dir_ / "link.pst").string()).status, 0);
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.pst"));
    EXPECT_EQ(Slurp(real), Slurp(target));
    EXPECT_EQ(ModeOf(real), 0640u);

    const mode_t previous = ::umask(027);
    const RunResult fresh = Run("build " + source + " -o " + (dir_ / "fresh.pst").string());
    ::umask(previous);
    ASSERT_EQ(fresh.status, 0) << fresh.err;
    EXPECT_EQ(ModeOf(dir_ / "fresh.pst"), 0640u);

    fs::create_directories(dir_ / "folder.pst");
    ExpectRefused("build " + source + " -o " + (dir_ / "folder.pst").string(), "directory");
    ExpectRefused("build " + source + " -o " + (dir_ / "none" / "x.pst").string(),
                  "No such file or directory");
    EXPECT_TRUE(
        OnlyNames({"s.json", "private.pst", "real.pst", "link.pst", "fresh.pst", "folder.pst"}))
        << "a temporary file was left behind";
}

TEST_F(KwPkgFilesTest, InputsMustBeRegularFilesOfASaneSize) {
    ExpectRefused("dump " + dir_.string(), "is a directory");
    ExpectRefused("info /dev/zero", "not a regular file");
    ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
    ExpectRefused("dump " + (dir_ / "pipe").string(), "not a regular file");  // must not hang
    const std::string big = Write("big.lan", "");
    fs::resize_file(big, (std::uintmax_t{64} << 20) + 1);
    ExpectRefused("dump " + big, "larger than 64 MiB");
    ExpectRefused("build " + big + " -o " + (dir_ / "out.pst").string(), "larger than 64 MiB");
    EXPECT_FALSE(fs::exists(dir_ / "out.pst"));
}

TEST_F(KwPkgFilesTest, InfoOnANewerFileShowsTheHeaderAndWarns) {
    std::string english = Slurp(test::ReferenceDir() + "English.lan");
    ASSERT_GT(english.size(), 40u);
    const RunResult current = Run("info " + Write("current.lan", english));
    EXPECT_EQ(current.status, 0);
    EXPECT_EQ(current.err, "");
    english[32] = 9;
    const RunResult newer = Run("info " + Write("newer.lan", english));
    EXPECT_EQ(newer.status, 0);
    EXPECT_EQ(newer.out.rfind("kind: language\nversion: 9\n", 0), 0u) << newer.out;
    EXPECT_NE(newer.err.find("version 9 is newer than this tool reads"), std::string::npos)
        << newer.err;
}

std::string BitmapFile(int size) {
    TBitmap bitmap(size, size, TPixelFormat::pf24bit);
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    const std::vector<Byte>& bytes = stream.Bytes();
    return std::string(bytes.begin(), bytes.end());
}

TEST_F(KwPkgFilesTest, ImportIntoAnImageFileKeepsMasksCornersAndProtection) {
    TKwImageIMKW original;
    TMemoryStream first;
    const std::string firstBitmap = BitmapFile(16);
    first.WriteBuffer(firstBitmap.data(), static_cast<std::int64_t>(firstBitmap.size()));
    original.Image().LoadFromStream(first, &TBitmap::StaticClass());
    original.Image().Skin().up1 = 3;
    original.Image().Skin().right2 = 5;
    original.Image().Skin().adjusts = true;
    original.Image().SetProtected(true);
    const TRegion outer(TRect(0, 0, 12, 12)), inner(TRect(2, 2, 6, 6));
    original.Image().CreateExternalMask(&outer);
    original.Image().CreateInternalMask(&inner);
    TMemoryStream saved;
    original.SaveToStream(saved);
    const std::string image(saved.Bytes().begin(), saved.Bytes().end());
    const std::string path = Write("picture.imkw", image);

    const std::string picture = Write("next.bmp", BitmapFile(24));
    const RunResult imported = Run("import-image " + path + " 0 " + picture);
    ASSERT_EQ(imported.status, 0) << imported.err;
    TKwImageIMKW result;
    TMemoryStream reread;
    const std::string bytes = Slurp(path);
    reread.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    reread.SetPosition(0);
    result.LoadFromStream(reread);
    EXPECT_EQ(result.Image().Width(), 24);
    EXPECT_EQ(result.Image().Skin(), original.Image().Skin());
    EXPECT_TRUE(result.Image().Protected());
    ASSERT_NE(result.Image().CreateExternalRgn(), nullptr);
    ASSERT_NE(result.Image().CreateInternalRgn(), nullptr);
    EXPECT_TRUE(*result.Image().CreateExternalRgn() == outer);
    EXPECT_TRUE(*result.Image().CreateInternalRgn() == inner);

    // A damaged image file is refused and left as it was.
    const std::string damaged = Write("damaged.imkw", image.substr(0, image.size() / 2));
    ExpectRefused("import-image " + damaged + " 0 " + picture, "damaged.imkw");
    EXPECT_EQ(Slurp(damaged), image.substr(0, image.size() / 2));
}

}  // namespace
}  // namespace kw
