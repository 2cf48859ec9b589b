// Saving files in place: what a save keeps of the file it replaces, what a killed run left
// behind, the run's private folder, and the system's reasons in messages.

#include <gtest/gtest.h>

#include "io/FileBytes.h"
#include "io/FileSystem.h"
#include "io/Process.h"
#include "io/TempDirectory.h"
#include "support/TestFiles.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

const std::vector<uint8_t> kOld = {1, 2, 3};
const std::vector<uint8_t> kNew = {4, 5, 6, 7};

Status Save(const std::filesystem::path& target) {
    return ReplaceFileAtomically(NativeFileSystem(), target, kNew, Durability::Durable);
}

#ifndef _WIN32
// The id of a process that has ended.
uint64_t EndedProcess() {
    const pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return static_cast<uint64_t>(child);
}
#endif

}  // namespace

TEST(ReplaceFile, ReplacesTheFileALinkNamesAndKeepsTheLink) {
    ScratchFolder folder;
    WriteBytes(folder / "real.ryx", kOld);
    std::filesystem::create_directory(folder / "links");
    std::filesystem::create_symlink("../real.ryx", folder / "links" / "chart.ryx");
    ASSERT_TRUE(Save(folder / "links" / "chart.ryx"));
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "links" / "chart.ryx"));
    EXPECT_EQ(ReadBytes(folder / "real.ryx"), kNew);
    EXPECT_EQ(folder.FileNames(), (std::vector<std::string>{"links", "real.ryx"}));
}

#ifndef _WIN32
TEST(ReplaceFile, TheNewFileTakesTheOldOnesPermissions) {
    ScratchFolder folder;
    for (mode_t mode : {0600, 0640, 0755}) {
        WriteBytes(folder / "chart.ryx", kOld);
        chmod((folder / "chart.ryx").c_str(), mode);
        ASSERT_TRUE(Save(folder / "chart.ryx"));
        struct stat info {};
        ASSERT_EQ(stat((folder / "chart.ryx").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode) << std::oct << mode;
    }
}

#ifndef _WIN32
TEST(ReplaceFile, OnlyARegularFileTheUserMayWriteIsReplaced) {
    ScratchFolder folder;
    WriteBytes(folder / "locked.ryx", kOld);
    chmod((folder / "locked.ryx").c_str(), 0444);
    std::filesystem::create_directory(folder / "folder.ryx");
    struct Case {
        std::filesystem::path target;
        ErrorCode code;
    };
    for (const Case& c : {Case{folder / "locked.ryx", ErrorCode::ReadOnlyOutput},
                          Case{folder / "folder.ryx", ErrorCode::OutputNotAFile},
                          Case{"/dev/null", ErrorCode::None}}) {
        const Status status = Save(c.target);
        EXPECT_EQ(status.code, c.code) << c.target << ": " << status.Message();
    }
    EXPECT_EQ(ReadBytes(folder / "locked.ryx"), kOld);
    EXPECT_EQ(Save(folder / "locked.ryx").Message(), PathText(folder / "locked.ryx") + " is read-only; save under another name");
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_EQ(folder.FileNames(), (std::vector<std::string>{"folder.ryx", "locked.ryx"}));
}
#endif

TEST(ReplaceFile, ASaveRemovesWhatKilledSavesOfTheSameFileLeft) {
    ScratchFolder folder;
    WriteBytes(folder / "chart.ryx", kOld);
    const std::string dead = "chart.ryx.saving-" + std::to_string(EndedProcess()) + "-7";
    const std::string running = "chart.ryx.saving-" + std::to_string(getppid()) + "-7";
    const std::string other = "other.ryx.saving-" + std::to_string(EndedProcess()) + "-7";
    for (const std::string& name : {dead, running, other}) WriteBytes(folder / name, kOld);
    ASSERT_TRUE(Save(folder / "chart.ryx"));
    EXPECT_EQ(folder.FileNames(), (std::vector<std::string>{"chart.ryx", running, other}));
}

TEST(TempDirectory, MakingOneRemovesTheFoldersOfEndedRuns) {
    ScratchFolder base;
    const std::string dead = "ryx-" + std::to_string(EndedProcess()) + "-1";
    const std::string running = "ryx-" + std::to_string(getppid()) + "-1";
    for (const std::string& name : {dead, running, std::string("ryx-notanumber-1")}) {
        std::filesystem::create_directory(base / name);
        WriteBytes(base / name / "mid.tmp", kOld);
    }
    WriteBytes(base / ("ryx-" + std::to_string(EndedProcess()) + "-2"), kOld);  // a file, not a folder
    TempDirectory::RemoveAbandoned(base.Path(), "ryx-");
    const std::vector<std::string> names = base.FileNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), dead), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), running), 1);
    EXPECT_EQ(names.size(), 3u);
}
#endif

TEST(TempDirectory, IsPrivateUniqueAndRemovedWithItsFiles) {
    std::filesystem::path kept;
    {
        std::optional<TempDirectory> a = TempDirectory::Create();
        std::optional<TempDirectory> b = TempDirectory::Create();
        ASSERT_TRUE(a && b);
        EXPECT_NE(a->Path(), b->Path());
        WriteBytes(a->Path() / "inf.tmp", {1, 2, 3});
        kept = a->Path();
#ifndef _WIN32
        auto perms = std::filesystem::status(kept).permissions();
        EXPECT_EQ(perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
                  std::filesystem::perms::none);
#endif
        TempDirectory moved = std::move(*a);
        EXPECT_TRUE(std::filesystem::exists(kept / "inf.tmp"));
    }
    EXPECT_FALSE(std::filesystem::exists(kept));
}

TEST(Status, MessagesGiveTheSystemsReasonAndTheFile) {
    ScratchFolder folder;
    Status save = Save(folder / "no such folder" / "chart.ryx");
    EXPECT_EQ(save.code, ErrorCode::CreateOutput);
    EXPECT_EQ(save.Message(), "Unable to create output file (" +
                                  PathText(folder / "no such folder" / "chart.ryx") +
                                  "): No such file or directory");

    std::vector<uint8_t> bytes;
    WriteBytes(folder / "big.mid", std::vector<uint8_t>(3 << 20, 0));
    Status large = ReadFileBytes(folder / "big.mid", bytes, 2 << 20);
    EXPECT_EQ(large.code, ErrorCode::FileTooLarge);
    EXPECT_TRUE(bytes.empty());
    EXPECT_EQ(ReadFileBytes(folder.Path(), bytes).code, ErrorCode::OpenInput);
}
