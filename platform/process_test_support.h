#pragma once

// Helpers for tests that start real programs and look after them in /proc.

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

/// The state letter of /proc/<pid>/stat ('S', 'Z', ...); 0 when there is no such process.
inline char ProcessState(int pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  // The name in parentheses may hold ')'; the state follows the last one.
  const std::size_t close = std::getline(stat, line) ? line.rfind(')') : std::string::npos;
  return pid > 0 && close != std::string::npos && close + 2 < line.size() ? line[close + 2] : 0;
}

inline bool IsAlive(int pid) {
  const char state = ProcessState(pid);
  return state != 0 && state != 'Z' && state != 'X';
}

/// Asks `done` until it holds, for about two seconds at most.
template <typename Condition>
bool Eventually(Condition done) {
  for (int i = 0; i < 200 && !done(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return done();
}

/// The pid a test program wrote into `path`, once it is there.
inline int ReadPid(const std::string& path) {
  int pid = 0;
  Eventually([&] { return static_cast<bool>(std::ifstream(path) >> pid); });
  return pid;
}

/// Sets (or with nothing, unsets) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
    }
    Apply(value);
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ~ScopedEnv() { Apply(old_); }

 private:
  void Apply(const std::optional<std::string>& value) {
    value ? setenv(name_, value->c_str(), 1) : unsetenv(name_);
  }
  const char* name_;
  std::optional<std::string> old_;
};
