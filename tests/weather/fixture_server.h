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
  };

  explicit FixtureServer(std::string answer, Mode mode = Mode::kAnswer);
  ~FixtureServer();
  FixtureServer(const FixtureServer&) = delete;
  FixtureServer& operator=(const FixtureServer&) = delete;

  bool ok() const { return ok_; }
  std::uint16_t port() const { return port_; }
  // Requests read so far, and the bytes of the last one.
  int requests() const { return requests_.load(); }
  std::string lastRequest() const;

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
  std::atomic<int> requests_{0};
  mutable std::mutex mutex_;
  std::string lastRequest_;  // guarded by mutex_
  std::thread thread_;
};

}  // namespace tovani::fixture
