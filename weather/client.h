// The weather download: one HTTP/1.0 request for the forecast page of a city
// code, read and scraped on a worker thread into what the weather window
// shows (status line, date cells, value cells).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "weather/page.h"
#include "weather/request.h"

namespace tovani {

inline constexpr int kWeatherTimeoutMs = 60000;
inline constexpr int kWeatherReceiveLimitMs = 300000;
inline constexpr std::size_t kWeatherResponseLimit = std::size_t{2} << 20;  // 2 MiB

struct WeatherQuery {
  std::int32_t code = 0;
  std::string provinceName, cityName;  // shown in the status line
  WeatherHost host;
  // Opening the connection gives up after this long, and so does each wait
  // for more of the answer.
  int timeoutMs = kWeatherTimeoutMs;
  // The whole answer must arrive within this long after the request.
  int receiveLimitMs = kWeatherReceiveLimitMs;
  // Reading stops after this many bytes; what arrived is read as the page.
  std::size_t responseLimit = kWeatherResponseLimit;
};

// The query for place position of a province of the weather table (both
// clamped as WeatherCityCode does): its code and its names.
WeatherQuery MakeWeatherQuery(int province, int position, const WeatherHost& host = {});

// One download on the calling thread.  show receives the view after every
// change: cleared, "  正在连接网络 ......", then "  网络断开！！！" when no
// connection could be opened (or the request not sent), else
// "  正在接收天气信息 ......" and at last the forecast, or
// "  无法接收天气信息！！！" when the page has none.  Returns the last view.
// A stop request (*stop true) ends every wait within a tenth of a second.
WeatherView FetchWeather(const WeatherQuery& query, const std::function<void(const WeatherView&)>& show = {},
                         const std::atomic<bool>* stop = nullptr);

// The download state word.
enum WeatherDownloadState : std::int16_t {
  kWeatherNeverStarted = 0,
  kWeatherRunning = 1,
  kWeatherFinished = 2,
};

// Where a download's views go: a target that the weather window sets when it
// opens and clears when it closes, while the download goes on regardless.
// A view made while no target is set is dropped; a target set during a
// download receives its later views.
class WeatherSink {
 public:
  // Called on the worker thread.  It must not wait for the window thread
  // (post a message, do not send one).
  using Target = std::function<void(const WeatherView&)>;

  void SetTarget(Target target);
  // Once this returns, the old target is not running and is never called
  // again.
  void ClearTarget() { SetTarget({}); }
  bool HasTarget() const;
  // The worker's side: the view to the target of the moment, if any.
  void Deliver(const WeatherView& view) const;

 private:
  mutable std::mutex mutex_;
  Target target_;  // guarded by mutex_, and called under it
};

// The program's forecast downloads, one at a time, each on a new worker
// thread.  The window thread starts them and reads the state and the view;
// only the worker changes them.  A download outlives the window that started
// it, and the client outlives every window: it lasts for the whole run.
class WeatherClient {
 public:
  WeatherClient();
  // At the end of the program: the target is cleared and a running download
  // asked to stop; its thread is waited for up to stopWaitMs and else left to
  // end by itself (it keeps alive the little it shares with the client).
  ~WeatherClient();
  WeatherClient(const WeatherClient&) = delete;
  WeatherClient& operator=(const WeatherClient&) = delete;

  // Starts FetchWeather (query) on a new thread unless a download is running
  // (state 1); releases the previous, finished thread first.  True when it
  // started.  The state is 1 from here until the worker has finished.  Every
  // view goes to the sink, the last one before the state becomes 2.
  bool StartWeatherDownload(WeatherQuery query);

  // 0 never started, 1 running, 2 finished; read without a lock.
  std::int16_t DownloadState() const;

  // The status line and the cells as they stand now.
  WeatherView View() const;

  WeatherSink& sink();

  // How long the end of the program waits for a running download.
  int stopWaitMs = 2000;

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;  // the worker holds it too
  std::thread worker_;
};

}  // namespace tovani
