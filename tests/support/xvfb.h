// A private X server for tests: Xvfb on a display number the server picks itself, stopped with
// the object. Linux only. In a fixture:
//
//   server_ = std::make_unique<testing_support::Xvfb>();
//   if (!server_->installed()) GTEST_SKIP() << server_->error();
//   ASSERT_TRUE(server_->running()) << server_->error();
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace testing_support {

class Xvfb {
 public:
  // Starts `Xvfb -displayfd ... -nolisten tcp -screen 0 1280x1024x24 -noreset` and waits up to
  // `timeout_ms` until it accepts connections. The server's output goes to a log that error()
  // quotes when the start fails.
  explicit Xvfb(int timeout_ms = 30000);
  // Stops the server (SIGTERM, then SIGKILL if it lingers) and waits for it.
  ~Xvfb();
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;

  // False when there is no Xvfb on PATH: a reason to skip, unlike a server that would not start.
  bool installed() const { return installed_; }
  bool running() const { return !display_.empty(); }
  // Why the server is not running; empty while it is.
  const std::string& error() const { return error_; }
  // ":N" while running, else empty.
  const std::string& display() const { return display_; }
  pid_t pid() const { return pid_; }

  // This process's environment, "NAME=value" each, for a child that is to use this server:
  // DISPLAY is set to it and WAYLAND_DISPLAY removed, so that toolkits do not pick a real
  // desktop session instead.
  std::vector<std::string> Environment() const;

 private:
  void Start(const std::string& program, int timeout_ms);
  void Stop();
  std::string LogText() const;

  bool installed_ = false;
  pid_t pid_ = -1;
  std::string display_;
  std::string error_;
  std::string log_path_;
};

}  // namespace testing_support
