// The weather download: one HTTP/1.0 request for the forecast page of a city
// code, read and scraped on a worker thread into what the weather window
// shows (status line, date cells, value cells).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
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

// The weather window's downloads, one at a time, each on a new worker thread.
// The window thread starts them and reads the state and the view; only the
// worker changes them.
class WeatherClient {
 public:
  // changed is called on the worker thread after every change of the view
  // and once more after the state has become 2.  It must not wait for the
  // window thread (post a message, do not send one).
  explicit WeatherClient(std::function<void()> changed = {});
  // Stops a running download and waits for its thread to end.
  ~WeatherClient();
  WeatherClient(const WeatherClient&) = delete;
  WeatherClient& operator=(const WeatherClient&) = delete;

  // Starts FetchWeather (query) on a new thread unless a download is running
  // (state 1); releases the previous, finished thread first.  True when it
  // started.  The state is 1 from here until the worker has finished.
  bool StartWeatherDownload(WeatherQuery query);

  // 0 never started, 1 running, 2 finished; read without a lock.
  std::int16_t DownloadState() const { return state_.load(); }

  // The status line and the cells as they stand now.
  WeatherView View() const;

 private:
  void Show(const WeatherView& view);

  std::function<void()> changed_;
  std::atomic<std::int16_t> state_{kWeatherNeverStarted};
  static_assert(std::atomic<std::int16_t>::is_always_lock_free);
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  WeatherView view_;  // guarded by mutex_
  std::thread worker_;
};

}  // namespace tovani
