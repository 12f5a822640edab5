#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/core/files.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

TEST(PathText, ExtractPartsWithEitherSeparator) {
    for (StringView name : {u"/data/pkg.v2/English.lan", u"\\data\\pkg.v2\\English.lan"}) {
        const Char sep = name[0];
        EXPECT_EQ(ExtractFileName(name), u"English.lan");
        EXPECT_EQ(ExtractFilePath(name), String(name.substr(0, 13)));
        EXPECT_EQ(ExtractFileDir(name), String(name.substr(0, 12)));
        EXPECT_EQ(ExtractFilePath(name).back(), sep);
        EXPECT_EQ(ExtractFileExt(name), u".lan");
    }
    EXPECT_EQ(ExtractFileExt(u"/data/pkg.v2/README"), u"");
    EXPECT_EQ(ExtractFileExt(u"a\\b.c\\d"), u"");
    EXPECT_EQ(ExtractFileExt(u"archive.tar.gz"), u".gz");
    EXPECT_EQ(ExtractFileDir(u"/top"), u"/");
    EXPECT_EQ(ExtractFileDir(u"rel/name"), u"rel");
}

TEST(PathText, ChangeFileExtTouchesOnlyTheNamePart) {
    EXPECT_EQ(ChangeFileExt(u"dir.d/standard", u".dis"), u"dir.d/standard.dis");
    EXPECT_EQ(ChangeFileExt(u"dir.d\\standard.old", u".dis"), u"dir.d\\standard.dis");
    EXPECT_EQ(ChangeFileExt(u"a.b.c", u""), u"a.b");
    EXPECT_EQ(ChangeFileExt(u"dir.d/name", u""), u"dir.d/name");
}

TEST(PathText, TrailingDelimiters) {
    EXPECT_EQ(AddPathBar(u"/opt/app"), u"/opt/app/");
    EXPECT_EQ(AddPathBar(u"/opt/app/"), u"/opt/app/");
    EXPECT_EQ(AddPathBar(u"C:\\app\\"), u"C:\\app\\");
    EXPECT_EQ(AddPathBar(u""), u"/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/opt/app/"), u"/opt/app");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(u"app\\"), u"app");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(u"app"), u"app");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/"), u"/");
}

TEST(PathText, ExpandResolvesDotSegments) {
    EXPECT_EQ(ExpandFileNameAgainst(u"pkg/../lang/./English.lan", u"/opt/app"),
              u"/opt/app/lang/English.lan");
    EXPECT_EQ(ExpandFileNameAgainst(u"..\\..\\..\\x", u"/opt/app/"), u"/x");
    EXPECT_EQ(ExpandFileNameAgainst(u"/etc//./x/", u"/opt"), u"/etc/x/");
    EXPECT_EQ(ExpandFileNameAgainst(u"sub\\", u"/opt"), u"/opt/sub/");
    EXPECT_EQ(ExpandFileNameAgainst(u"..", u"/"), u"/");
    EXPECT_EQ(ExpandFileNameAgainst(u"", u"/opt"), u"");
    const String cwd = GetCurrentDir();
    EXPECT_EQ(ExpandFileName(u"a/b/.."), cwd + u"/a");
    EXPECT_EQ(ExpandFileNameAgainst(u"f", u"rel"), cwd + u"/rel/f");
}

TEST(MatchesMask, WildcardsIgnoringCase) {
    EXPECT_TRUE(MatchesMask(u"English.LAN", u"*.lan"));
    EXPECT_TRUE(MatchesMask(u"español.lan", u"ESPAÑOL.*"));
    EXPECT_TRUE(MatchesMask(u"file1.txt", u"file?.*"));
    EXPECT_TRUE(MatchesMask(u"abcabd", u"*ab?"));
    EXPECT_TRUE(MatchesMask(u"anything", u""));
    EXPECT_TRUE(MatchesMask(u"", u"*"));
    EXPECT_FALSE(MatchesMask(u"English.lang", u"*.lan"));
    EXPECT_FALSE(MatchesMask(u"file10.txt", u"file?.txt"));
    EXPECT_FALSE(MatchesMask(u"x", u"x?"));
}

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kw_files_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = Utf8ToString(pattern) + u"/";
    }
    void TearDown() override { std::filesystem::remove_all(StringToUtf8(dir_)); }
    void Touch(const String& name) { std::ofstream(StringToUtf8(dir_ + name)) << "x"; }

    String dir_;
};

TEST_F(FilesTest, ForceDirectoriesCreatesEveryLevel) {
    const String deep = dir_ + u"a\\b/c/";
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(dir_ + u"a/b/c"));
    EXPECT_TRUE(ForceDirectories(deep));
    Touch(u"blocker");
    EXPECT_FALSE(ForceDirectories(dir_ + u"blocker/sub"));
    EXPECT_FALSE(ForceDirectories(u""));
}

TEST_F(FilesTest, ExistenceRenameAndDelete) {
    Touch(u"old");
    Touch(u"target");
    EXPECT_FALSE(FileExists(dir_));
    EXPECT_TRUE(DirectoryExists(ExcludeTrailingPathDelimiter(dir_)));
    EXPECT_FALSE(DirectoryExists(dir_ + u"old"));
    EXPECT_TRUE(RenameFile(dir_ + u"old", dir_ + u"target"));
    EXPECT_FALSE(FileExists(dir_ + u"old"));
    EXPECT_TRUE(DeleteFile(dir_ + u"target"));
    EXPECT_FALSE(FileExists(dir_ + u"target"));
    EXPECT_FALSE(DeleteFile(dir_ + u"target"));
}

TEST_F(FilesTest, ListFilesMatchesRegularFilesSorted) {
    for (const Char* name : {u"spanish.lan", u"English.LAN", u"French.lan", u"notes.txt"})
        Touch(name);
    ASSERT_TRUE(ForceDirectories(dir_ + u"dir.lan"));
    EXPECT_EQ(ListFiles(dir_, u"*.lan"),
              (std::vector<String>{u"English.LAN", u"French.lan", u"spanish.lan"}));
    EXPECT_EQ(ListFiles(dir_, u"*").size(), 4u);
    EXPECT_TRUE(ListFiles(dir_ + u"missing", u"*").empty());
}

TEST_F(FilesTest, TempFileNamesAreNewAndDistinct) {
    const String first = TempFileNameIn(dir_, u"save");
    const String second = TempFileNameIn(ExcludeTrailingPathDelimiter(dir_), u"save");
    EXPECT_NE(first, second);
    for (const String& name : {first, second}) {
        EXPECT_EQ(ExtractFilePath(name), dir_);
        EXPECT_EQ(ExtractFileName(name).rfind(u"save", 0), 0u);
        EXPECT_TRUE(FileExists(name));
    }
    EXPECT_THROW(TempFileNameIn(dir_ + u"missing", u"x"), EInOutError);
}

TEST_F(FilesTest, CurrentDirectoryChangesAndFailuresRaise) {
    const String saved = GetCurrentDir();
    SetCurrentDir(dir_);
    EXPECT_EQ(AddPathBar(GetCurrentDir()), dir_);
    EXPECT_EQ(ExpandFileName(u"x/../y"), dir_ + u"y");
    SetCurrentDir(saved);
    EXPECT_EQ(GetCurrentDir(), saved);
    EXPECT_THROW(SetCurrentDir(dir_ + u"missing"), EInOutError);
}

TEST(ExeDir, IsTheExistingDirectoryOfThisProgram) {
    const String dir = ExeDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), u'/');
    EXPECT_TRUE(DirectoryExists(dir));
    EXPECT_TRUE(FileExists(dir + u"test_platform_core_files_test"));
}

}  // namespace
}  // namespace kw
