// Starting and stopping the tests' private X server.
#include "support/xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace testing_support {
namespace {

std::string FindOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    if (dir.empty()) dir = ".";
    const std::string candidate = dir + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

int MillisecondsUntil(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
      deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

Xvfb::Xvfb(int timeout_ms) {
  const std::string program = FindOnPath("Xvfb");
  if (program.empty()) {
    error_ = "Xvfb is not installed (not found on PATH)";
    return;
  }
  installed_ = true;
  Start(program, timeout_ms);
  if (!running()) Stop();
}

Xvfb::~Xvfb() { Stop(); }

void Xvfb::Start(const std::string& program, int timeout_ms) {
  std::string log_template = "/tmp/examora-xvfb-XXXXXX";
  const int log_fd = mkostemp(log_template.data(), O_CLOEXEC);
  if (log_fd < 0) {
    error_ = std::string("cannot create the server's log: ") + std::strerror(errno);
    return;
  }
  log_path_ = log_template;
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC) != 0) {
    error_ = std::string("pipe: ") + std::strerror(errno);
    close(log_fd);
    return;
  }
  const int read_fd = pipe_fds[0];
  const int write_fd = pipe_fds[1];

  // Everything the child needs is made before fork: after it only async-signal-safe calls.
  const std::string fd_text = std::to_string(write_fd);
  std::vector<std::string> args = {program,   "-displayfd", fd_text,        "-nolisten", "tcp",
                                   "-screen", "0",          "1280x1024x24", "-noreset"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t parent = getpid();

  const pid_t child = fork();
  if (child < 0) {
    error_ = std::string("fork: ") + std::strerror(errno);
    close(read_fd);
    close(write_fd);
    close(log_fd);
    return;
  }
  if (child == 0) {
    // The server goes with the test program, also when that one crashes.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent) _exit(127);
    fcntl(write_fd, F_SETFD, 0);
    const int null_fd = open("/dev/null", O_RDWR);
    if (null_fd >= 0) {
      dup2(null_fd, STDIN_FILENO);
      dup2(null_fd, STDOUT_FILENO);
    }
    dup2(log_fd, STDERR_FILENO);
    execv(argv[0], argv.data());
    _exit(127);
  }
  pid_ = child;
  close(write_fd);
  close(log_fd);

  // The server writes its display number and a newline once it accepts connections; the pipe
  // closes without them when it fails.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  std::string number;
  bool complete = false;
  while (!complete) {
    pollfd readable{read_fd, POLLIN, 0};
    const int ready = poll(&readable, 1, MillisecondsUntil(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) {
      error_ = "Xvfb did not report a display within " + std::to_string(timeout_ms) + " ms";
      break;
    }
    char buffer[32];
    const ssize_t n = read(read_fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error_ = "Xvfb exited before reporting a display";
      break;
    }
    for (ssize_t i = 0; i < n && !complete; ++i) {
      if (buffer[i] == '\n') {
        complete = true;
      } else if (buffer[i] >= '0' && buffer[i] <= '9' && number.size() < 9) {
        number += buffer[i];
      } else {
        error_ = "Xvfb reported a malformed display number";
        break;
      }
    }
    if (!error_.empty()) break;
  }
  close(read_fd);
  if (complete && !number.empty()) {
    display_ = ":" + number;
  } else {
    if (error_.empty()) error_ = "Xvfb reported no display number";
    error_ += "; its log:\n" + LogText();
  }
}

void Xvfb::Stop() {
  display_.clear();
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool reaped = false;
    while (!reaped && std::chrono::steady_clock::now() < deadline) {
      const pid_t r = waitpid(pid_, nullptr, WNOHANG);
      if (r == pid_ || (r < 0 && errno != EINTR)) {
        reaped = true;
      } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    }
    if (!reaped) {
      kill(pid_, SIGKILL);
      while (waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
      }
    }
    pid_ = -1;
  }
  if (!log_path_.empty()) {
    unlink(log_path_.c_str());
    log_path_.clear();
  }
}

std::string Xvfb::LogText() const {
  std::ifstream in(log_path_);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  constexpr size_t kTail = 4000;
  return text.size() > kTail ? text.substr(text.size() - kTail) : text;
}

std::vector<std::string> Xvfb::Environment() const {
  std::vector<std::string> env;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    if (text.rfind("DISPLAY=", 0) == 0 || text.rfind("WAYLAND_DISPLAY=", 0) == 0) continue;
    env.push_back(text);
  }
  env.push_back("DISPLAY=" + display_);
  return env;
}

}  // namespace testing_support
