// What kwpkg reads and writes: only small regular files in, outputs that keep their mode and
// links, a newer file's header shown with a warning, images imported without losing settings.
#include <sys/stat.h>

#include "display/image_imkw.h"
#include "display/package_image.h"
#include "kwpkg_fixture.h"
#include "platform/core/stream.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/region.h"

namespace kw {
namespace {

namespace fs = std::filesystem;
using test::RunResult;
using test::Slurp;

unsigned ModeOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

using KwPkgFilesTest = test::KwPkgToolTest;

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
    ExpectFailure("build " + source + " -o " + (dir_ / "folder.pst").string(), "directory");
    ExpectFailure("build " + source + " -o " + (dir_ / "none" / "x.pst").string(),
                  "No such file or directory");
    EXPECT_EQ(Names(), (std::set<std::string>{"s.json", "private.pst", "real.pst", "link.pst",
                                              "fresh.pst", "folder.pst"}))
        << "a temporary file was left behind";
}

TEST_F(KwPkgFilesTest, InputsMustBeRegularFilesOfASaneSize) {
    ExpectFailure("dump " + dir_.string(), "is a directory");
    ExpectFailure("info /dev/zero", "not a regular file");
    ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
    ExpectFailure("dump " + (dir_ / "pipe").string(), "not a regular file");  // must not hang
    const std::string big = Write("big.lan", "");
    fs::resize_file(big, (std::uintmax_t{64} << 20) + 1);
    ExpectFailure("dump " + big, "larger than 64 MiB");
    ExpectFailure("build " + big + " -o " + (dir_ / "out.pst").string(), "larger than 64 MiB");
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
    return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

// `stream` holding `bytes`, read from their start.
TMemoryStream& Holding(TMemoryStream&& stream, const std::string& bytes) {
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    return stream;
}

TEST_F(KwPkgFilesTest, ImportIntoAnImageFileKeepsMasksCornersAndProtection) {
    TKwImageIMKW original;
    original.Image().LoadFromStream(Holding(TMemoryStream(), BitmapFile(16)),
                                    &TBitmap::StaticClass());
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
    result.LoadFromStream(Holding(TMemoryStream(), Slurp(path)));
    EXPECT_EQ(result.Image().Width(), 24);
    EXPECT_EQ(result.Image().Skin(), original.Image().Skin());
    EXPECT_TRUE(result.Image().Protected());
    ASSERT_NE(result.Image().CreateExternalRgn(), nullptr);
    ASSERT_NE(result.Image().CreateInternalRgn(), nullptr);
    EXPECT_EQ(*result.Image().CreateExternalRgn(), outer);
    EXPECT_EQ(*result.Image().CreateInternalRgn(), inner);

    // A damaged image file is refused and left as it was.
    const std::string damaged = Write("damaged.imkw", image.substr(0, image.size() / 2));
    ExpectFailure("import-image " + damaged + " 0 " + picture, "damaged.imkw");
    EXPECT_EQ(Slurp(damaged), image.substr(0, image.size() / 2));
}

}  // namespace
}  // namespace kw
