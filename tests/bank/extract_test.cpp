// First start: the bank file appears complete or not at all, and an existing one is kept.
#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <utime.h>
#include <fcntl.h>
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

// The tool's build and image verbs replace their OUT: a symbolic link leads the write to its
// regular file; a FIFO, a folder or a link to nothing is refused and left as it was.
TEST(BankExtract, ReplacingWritesOnlyRegularFiles) {
  TempDir dir;
  const fs::path real = dir / "real.sys";
  WriteBytes(real, {1, 2, 3});
  const fs::path link = dir / "link.sys";
  fs::create_symlink(real, link);
  ASSERT_TRUE(bank::WriteNewFile(link.string(), "new", /*replace=*/true));
  EXPECT_TRUE(fs::is_symlink(link));
  auto bytes = ReadBytes(real);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new");

  const fs::path fifo = dir / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  auto refused = bank::WriteNewFile(fifo.string(), "x", true);
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.error().message.find("not a regular file"), std::string::npos);
  EXPECT_TRUE(fs::is_fifo(fifo));
  fs::create_directory(dir / "folder");
  EXPECT_FALSE(bank::WriteNewFile((dir / "folder").string(), "x", true));
  EXPECT_TRUE(fs::is_directory(dir / "folder"));
  fs::create_symlink(dir / "nowhere", dir / "dangling");
  EXPECT_FALSE(bank::WriteNewFile((dir / "dangling").string(), "x", true));
  EXPECT_FALSE(fs::exists(dir / "nowhere"));
  // Nothing temporary stays behind: the five entries made above.
  EXPECT_EQ(EntriesIn(dir.path()), 5u);
}

// A writer killed during a first start leaves its temporary file; the next start removes it,
// but not the file of a writer that is still at work (it holds a lock on it) nor one written
// a moment ago (its writer may not hold the lock yet).
TEST(BankExtract, AStartRemovesWhatDeadWritersLeft) {
  TempDir dir;
  auto leftover = [&](const char* name, time_t age) {
    const fs::path p = dir / name;
    WriteBytes(p, std::vector<uint8_t>(1000, 7));
    const time_t when = time(nullptr) - age;
    utimbuf times{when, when};
    utime(p.c_str(), &times);
    return p;
  };
  const fs::path dead = leftover(".exam-write-dead01", 3600);
  const fs::path fresh = leftover(".exam-write-fresh1", 0);
  const fs::path busy = leftover(".exam-write-busy01", 3600);
  const fs::path other = leftover(".other-file", 3600);
  const int fd = open(busy.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  // The lock of a writer in another process: flock locks belong to the open file, so a child
  // holds it while this process tries.
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int own = open(busy.c_str(), O_RDONLY);
    flock(own, LOCK_EX);
    (void)!write(ready[1], "x", 1);
    pause();
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  auto started = bank::EnsureBankFile((dir / "exam.sys").string(), "image");
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  close(fd);
  ASSERT_TRUE(started);
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(fs::exists(fresh));
  EXPECT_TRUE(fs::exists(busy));
  EXPECT_TRUE(fs::exists(other));
  // Once its writer is gone, the next start (the bank exists by now) removes it too.
  ASSERT_TRUE(bank::EnsureBankFile((dir / "exam.sys").string(), "image"));
  EXPECT_FALSE(fs::exists(busy));
}

TEST(BankExtract, UnwritableFolderIsAnError) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes everywhere";
  TempDir dir;
  fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(bank::EnsureBankFile((dir / "exam.sys").string(), "image"));
  fs::permissions(dir.path(), fs::perms::owner_all);
}

}  // namespace
