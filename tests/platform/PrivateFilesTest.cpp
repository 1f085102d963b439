// The files the tool keeps are its user's alone and never replace one another.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <set>

#include "PrivateFiles.h"
#include "support/TempFolder.h"

namespace varnow::platform {
namespace {

unsigned ModeOf(const std::filesystem::path& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A permissive umask shows that the modes come from the tool, not from the user's setting.
class PrivateFilesTest : public ::testing::Test {
protected:
    void SetUp() override { m_umask = ::umask(0); }
    void TearDown() override { ::umask(m_umask); }

    testing::TempFolder m_folder;
    PrivateFileStore m_store;

private:
    mode_t m_umask = 022;
};

TEST_F(PrivateFilesTest, ThreeWritesUnderOneNameKeepThreeFilesEachWhole) {
    const std::filesystem::path folder = m_folder.path() / "VarnoW" / "backups";
    std::set<std::filesystem::path> paths;
    for (const std::string text : {"first", "second", "third"}) {
        const FileWritten written = m_store.WriteNew(folder, "board-20261211-101010.123", ".envs",
                                                     AsBytes(text));
        ASSERT_TRUE(written.ok()) << written.problem;
        EXPECT_EQ(Contents(written.path), text);
        paths.insert(written.path);
    }
    EXPECT_EQ(paths.size(), 3u);
    EXPECT_EQ(Contents(folder / "board-20261211-101010.123.envs"), "first")
        << "the first, the board's original block, is never replaced";
    for (const auto& path : paths) {
        EXPECT_EQ(ModeOf(path), 0600u) << path;
    }
    EXPECT_EQ(ModeOf(folder), 0700u);
    EXPECT_EQ(ModeOf(folder.parent_path()), 0700u);
    // Nothing half-written is left beside them.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              3);
}

TEST_F(PrivateFilesTest, ANamedFileIsNeverReplaced) {
    const std::filesystem::path path = m_folder.Write("saved.envs", AsBytes(std::string("mine")));
    const FileWritten written = m_store.WriteNewAt(path, AsBytes(std::string("other")));
    EXPECT_FALSE(written.ok());
    EXPECT_EQ(Contents(path), "mine");
}

TEST_F(PrivateFilesTest, ALogOrTraceTheUserNamesIsMadeForThemAlone) {
    const std::filesystem::path path = m_folder.path() / "trace.txt";
    EXPECT_EQ(PreparePrivateFile(path, true), "");
    EXPECT_EQ(ModeOf(path), 0600u);
    EXPECT_NE(PreparePrivateFile(m_folder.path() / "no" / "such" / "x", true), "");
}

}  // namespace
}  // namespace varnow::platform
