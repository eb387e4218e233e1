// First start: the bank file appears complete or not at all, and an existing one is kept.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "bank/extract.h"
#include "support/process.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

std::string Image(size_t size) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>(i * 31 + 7);
  return s;
}

size_t EntriesIn(const fs::path& dir) {
  return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(BankExtract, WritesExactlyTheImageOnce) {
  TempDir dir;
  const std::string path = bank::BankPath(dir.path().string() + "/");
  EXPECT_EQ(path, (dir / "exam.sys").string());
  const std::string image = Image(3 << 20);
  auto first = bank::EnsureBankFile(path, image);
  ASSERT_TRUE(first) << first.error().message;
  EXPECT_TRUE(*first);
  auto bytes = ReadBytes(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), image);
  EXPECT_EQ(EntriesIn(dir.path()), 1u) << "no temporary file is left behind";

  // The learner's changes survive the next start.
  bytes[100] ^= 0xFF;
  WriteBytes(path, bytes);
  auto second = bank::EnsureBankFile(path, image);
  ASSERT_TRUE(second);
  EXPECT_FALSE(*second);
  EXPECT_EQ(ReadBytes(path), bytes);
}

TEST(BankExtract, AnythingAtThePathIsLeftAlone) {
  TempDir dir;
  const std::string empty = (dir / "empty").string();
  WriteBytes(empty, {});
  EXPECT_FALSE(*bank::EnsureBankFile(empty, "image"));
  EXPECT_EQ(fs::file_size(empty), 0u);
  const fs::path folder = dir / "folder";
  fs::create_directory(folder);
  EXPECT_FALSE(*bank::EnsureBankFile(folder.string(), "image"));
  EXPECT_TRUE(fs::is_directory(folder));
  const fs::path link = dir / "dangling";
  fs::create_symlink(dir / "nowhere", link);
  EXPECT_FALSE(*bank::EnsureBankFile(link.string(), "image"));
  EXPECT_FALSE(fs::exists(dir / "nowhere"));
}

TEST(BankExtract, AWriteCutShortLeavesNoFileAndTheNextStartSucceeds) {
  TempDir dir;
  const std::string path = (dir / "exam.sys").string();
  const std::string image = Image(4 << 20);
  // A child process whose files may not grow past 1 MiB: the write fails midway, as on a
  // full disk.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{1 << 20, 1 << 20};
    setrlimit(RLIMIT_FSIZE, &limit);
    auto r = bank::EnsureBankFile(path, image);
    _exit(r ? 0 : 3);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 3) << "the failed write is reported";
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(EntriesIn(dir.path()), 0u);
  auto again = bank::EnsureBankFile(path, image);
  ASSERT_TRUE(again);
  EXPECT_TRUE(*again);
  EXPECT_EQ(fs::file_size(path), image.size());
}

TEST(BankExtract, UnwritableFolderIsAnError) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
  TempDir dir;
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(bank::EnsureBankFile((dir / "exam.sys").string(), "image"));
  fs::permissions(dir.path(), fs::perms::owner_all);
}

}  // namespace
