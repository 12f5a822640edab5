// Saving through a temporary file: failures at every step, modes, links, and the library's
// file writers that go through it.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "platform/core/exception.h"
#include "platform/core/safe_save.h"
#include "platform/core/stream.h"
#include "platform/text/string_list.h"
#include "platform/text/unicode.h"

namespace kw {
namespace {

namespace fs = std::filesystem;

const std::string kOld = "old contents, which a failed save must leave alone";
const std::string kNew(20000, 'n');  // several writes' worth

class SafeSaveTest : public testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::path(testing::TempDir()) /
               ("safe_save_" + std::to_string(::getpid()) + "_" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        target_ = dir_ / "target.bin";
    }
    void TearDown() override {
        SetSaveFaultHook({});
        fs::remove_all(dir_);
    }

    static void Put(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Get(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    static unsigned ModeOf(const fs::path& path) {
        struct stat info {};
        EXPECT_EQ(::stat(path.c_str(), &info), 0);
        return info.st_mode & 07777;
    }
    static String Native(const fs::path& path) { return Utf8ToString(path.string()); }
    // Written in 1000-byte pieces, so a save makes many writes.
    static void Save(const fs::path& path, const std::string& text = kNew) {
        SaveFileSafely(Native(path), [&](TStream& file) {
            for (std::size_t at = 0; at < text.size(); at += 1000)
                file.WriteBuffer(text.data() + at, std::min<std::size_t>(1000, text.size() - at));
        });
    }
    std::size_t EntryCount() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
    }

    fs::path dir_;
    fs::path target_;
};

struct Fault {
    TSaveStep step;
    int nth;  // fails the nth time the step runs
    int error;
    const char* named;  // in the message besides the file
};

TEST_F(SafeSaveTest, AFailureAtAnyStepKeepsTheOldFileAndNamesTheCause) {
    const Fault faults[] = {
        {TSaveStep::sstCreate, 1, EACCES, "Permission denied"},
        {TSaveStep::sstWrite, 1, ENOSPC, "No space left on device"},
        {TSaveStep::sstWrite, 7, EIO, "Input/output error"},
        {TSaveStep::sstChmod, 1, EPERM, "Operation not permitted"},
        {TSaveStep::sstSync, 1, EIO, "Input/output error"},
        {TSaveStep::sstClose, 1, EDQUOT, "Disk quota exceeded"},
        {TSaveStep::sstRename, 1, EXDEV, "Invalid cross-device link"},
    };
    for (const Fault& fault : faults) {
        SCOPED_TRACE(static_cast<int>(fault.step) * 100 + fault.nth);
        Put(target_, kOld);
        fs::permissions(target_, fs::perms(0640));
        int seen = 0;
        SetSaveFaultHook([&](TSaveStep step) {
            return step == fault.step && ++seen == fault.nth ? fault.error : 0;
        });
        try {
            Save(target_);
            ADD_FAILURE() << "the save did not fail";
        } catch (const Exception& e) {
            const std::string message = StringToUtf8(e.Message());
            EXPECT_NE(message.find(fault.named), std::string::npos) << message;
            EXPECT_NE(message.find(target_.string()), std::string::npos) << message;
        }
        EXPECT_EQ(seen, fault.nth);
        EXPECT_EQ(Get(target_), kOld);
        EXPECT_EQ(ModeOf(target_), 0640u);
        EXPECT_EQ(EntryCount(), 1u) << "a temporary file was left behind";
    }
    SetSaveFaultHook({});
    Save(target_);
    EXPECT_EQ(Get(target_), kNew);
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(SafeSaveTest, AWriterThatThrowsKeepsTheOldFile) {
    Put(target_, kOld);
    EXPECT_THROW(SaveFileSafely(Native(target_),
                                [](TStream& file) {
                                    file.WriteBuffer("partial", 7);
                                    throw EWriteError(u"the writer gave up");
                                }),
                 EWriteError);
    EXPECT_EQ(Get(target_), kOld);
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(SafeSaveTest, ReplacedFilesKeepTheirModeAndNewFilesFollowTheUmask) {
    for (unsigned mode : {0600u, 0640u, 0755u, 0444u}) {
        Put(target_, kOld);
        fs::permissions(target_, fs::perms(mode));
        Save(target_);
        EXPECT_EQ(ModeOf(target_), mode);
        EXPECT_EQ(Get(target_), kNew);
    }
    for (mode_t mask : {mode_t{022}, mode_t{077}, mode_t{002}}) {
        const mode_t previous = ::umask(mask);
        const fs::path fresh = dir_ / ("new" + std::to_string(mask));
        Save(fresh);
        ::umask(previous);
        EXPECT_EQ(ModeOf(fresh), 0666u & ~mask);
    }
}

TEST_F(SafeSaveTest, SavingThroughALinkWritesItsTargetAndKeepsTheLink) {
    fs::create_directories(dir_ / "real");
    Put(dir_ / "real" / "data.bin", kOld);
    fs::permissions(dir_ / "real" / "data.bin", fs::perms(0600));
    fs::create_symlink("real/data.bin", dir_ / "first");  // relative to the link's directory
    fs::create_symlink(dir_ / "first", dir_ / "second");  // a chain, absolute
    Save(dir_ / "second");
    EXPECT_TRUE(fs::is_symlink(dir_ / "second"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "first"));
    EXPECT_EQ(Get(dir_ / "real" / "data.bin"), kNew);
    EXPECT_EQ(ModeOf(dir_ / "real" / "data.bin"), 0600u);
    EXPECT_EQ(SaveTargetOf(Native(dir_ / "second")), Native(dir_ / "real" / "data.bin"));

    fs::create_symlink("missing.bin", dir_ / "dangling");
    Save(dir_ / "dangling", kOld);
    EXPECT_TRUE(fs::is_symlink(dir_ / "dangling"));
    EXPECT_EQ(Get(dir_ / "missing.bin"), kOld);

    fs::create_symlink("loop2", dir_ / "loop1");
    fs::create_symlink("loop1", dir_ / "loop2");
    EXPECT_THROW(Save(dir_ / "loop1"), EFCreateError);
}

TEST_F(SafeSaveTest, ADirectoryOrDeviceIsNotReplaced) {
    fs::create_directories(dir_ / "folder");
    try {
        Save(dir_ / "folder");
        ADD_FAILURE() << "saved over a directory";
    } catch (const EFCreateError& e) {
        EXPECT_NE(StringToUtf8(e.Message()).find("directory"), std::string::npos);
    }
    EXPECT_TRUE(fs::is_directory(dir_ / "folder"));
    EXPECT_THROW(Save("/dev/null"), EFCreateError);
    EXPECT_EQ(EntryCount(), 1u);
}

// The platform's own file writers all go through the safe save.
TEST_F(SafeSaveTest, StringListsAndMemoryStreamsSaveSafely) {
    Put(target_, kOld);
    fs::permissions(target_, fs::perms(0600));
    fs::create_symlink(target_, dir_ / "link");
    TStringList list;
    list.Add(u"one");
    list.Add(u"two");
    SetSaveFaultHook([](TSaveStep step) { return step == TSaveStep::sstSync ? EIO : 0; });
    EXPECT_THROW(list.SaveToFile(Native(dir_ / "link")), EWriteError);
    EXPECT_EQ(Get(target_), kOld);
    SetSaveFaultHook({});
    list.SaveToFile(Native(dir_ / "link"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link"));
    EXPECT_NE(Get(target_).find("two"), std::string::npos);
    EXPECT_EQ(ModeOf(target_), 0600u);

    TMemoryStream stream;
    stream.WriteBuffer(kOld.data(), static_cast<std::int64_t>(kOld.size()));
    SetSaveFaultHook([](TSaveStep step) { return step == TSaveStep::sstRename ? EIO : 0; });
    EXPECT_THROW(stream.SaveToFile(Native(dir_ / "link")), EFCreateError);
    EXPECT_NE(Get(target_).find("two"), std::string::npos);
    SetSaveFaultHook({});
    stream.SaveToFile(Native(dir_ / "link"));
    EXPECT_EQ(Get(target_), kOld);
    EXPECT_EQ(EntryCount(), 2u);
}

}  // namespace
}  // namespace kw
