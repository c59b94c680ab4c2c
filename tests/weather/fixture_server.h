// A small HTTP server on 127.0.0.1 for the weather client's tests: it runs on
// a thread of its own, takes one connection at a time, reads the request and
// answers as its mode says.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace tovani::fixture {

class FixtureServer {
 public:
  enum class Mode {
    kAnswer,   // sends the answer (possibly empty) and closes
    kSilent,   // sends nothing, holds the connection until the client leaves
    kEndless,  // sends the answer, then filler until the client leaves
    kNoRoom,   // accepts nobody; its one queue place is taken, so connecting waits
    kHeld,     // reads the request, then sends the answer only after Release()
  };

  explicit FixtureServer(std::string answer, Mode mode = Mode::kAnswer);
  ~FixtureServer();
  FixtureServer(const FixtureServer&) = delete;
  FixtureServer& operator=(const FixtureServer&) = delete;

  bool ok() const { return ok_; }
  std::uint16_t port() const { return port_; }
  // Requests read so far, and the bytes of the last one.
  int requests() const { return requests_.load(); }
  // Connections answered and closed so far.
  int answers() const { return answers_.load(); }
  std::string lastRequest() const;
  // kHeld: this and every later connection gets its answer, until Hold().
  void Release() { released_ = true; }
  void Hold() { released_ = false; }

 private:
  void Serve();
  void Handle(std::uintptr_t client);

  std::string answer_;
  Mode mode_;
  bool ok_ = false;
  std::uintptr_t listener_;
  std::uintptr_t filler_;  // kNoRoom: the connection that takes the queue place
  std::uint16_t port_ = 0;
  std::atomic<bool> stop_{false};
  std::atomic<int> requests_{0}, answers_{0};
  std::atomic<bool> released_{false};
  mutable std::mutex mutex_;
  std::string lastRequest_;  // guarded by mutex_
  std::thread thread_;
};

}  // namespace tovani::fixture
