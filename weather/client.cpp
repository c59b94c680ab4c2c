#include "weather/client.h"

#include <algorithm>
#include <system_error>
#include <utility>
#include <vector>

#include "weather/city_codes.h"
#include "weather/http.h"
#include "weather/socket.h"

namespace tovani {
namespace {

}  // namespace

WeatherQuery MakeWeatherQuery(int province, int position, const WeatherHost& host) {
  province = std::clamp(province, 1, kWeatherProvinceCount);
  position = std::clamp(position, 1, WeatherPlaceCount(province));
  WeatherQuery query;
  query.code = WeatherCityCode(province, position);
  query.provinceName = WeatherPlaceName(province, -1);
  query.cityName = WeatherPlaceName(province, position);
  query.host = host;
  return query;
}

WeatherView FetchWeather(const WeatherQuery& query, const std::function<void(const WeatherView&)>& show,
                         const std::atomic<bool>* stop) {
  WeatherView view;
  const auto status = [&](const char* text) {
    view.status = text;
    if (show) show(view);
  };
  if (show) show(view);
  status(kWeatherConnecting);

  const net::HttpLimits limits{query.timeoutMs, query.timeoutMs, query.receiveLimitMs, query.responseLimit};
  const std::optional<std::string> response = net::HttpGet(query.host.name, query.host.port,
                                                            WeatherRequest(query.host, query.code), limits, stop,
                                                            [&] { status(kWeatherReceiving); });
  if (!response) {
    status(kWeatherOffline);
    return view;
  }

  const std::optional<Forecast> forecast = ScrapeForecast(Utf8ToGbk(*response));
  if (!forecast) {
    status(kWeatherUnreadable);
    return view;
  }
  view = ForecastView(*forecast, query.provinceName, query.cityName);
  if (show) show(view);
  return view;
}

void WeatherSink::SetTarget(Target target) {
  std::lock_guard lock(mutex_);
  target_ = std::move(target);
}

bool WeatherSink::HasTarget() const {
  std::lock_guard lock(mutex_);
  return static_cast<bool>(target_);
}

void WeatherSink::Deliver(const WeatherView& view) const {
  std::lock_guard lock(mutex_);
  if (target_) target_(view);
}

struct WeatherClient::Shared {
  std::atomic<std::int16_t> state{kWeatherNeverStarted};
  static_assert(std::atomic<std::int16_t>::is_always_lock_free);
  std::atomic<bool> stop{false};
  WeatherSink sink;
  mutable std::mutex mutex;
  WeatherView view;  // guarded by mutex
};

WeatherClient::WeatherClient() : shared_(std::make_shared<Shared>()) {}

WeatherClient::~WeatherClient() {
  shared_->sink.ClearTarget();
  shared_->stop = true;
  if (!worker_.joinable()) return;
  for (const std::int64_t end = net::MonotonicMs() + stopWaitMs;
       shared_->state.load() == kWeatherRunning && net::MonotonicMs() < end;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  // A name look-up cannot be stopped: a worker still in one is left behind.
  if (shared_->state.load() == kWeatherRunning) {
    worker_.detach();
  } else {
    worker_.join();
  }
}

bool WeatherClient::StartWeatherDownload(WeatherQuery query) {
  std::int16_t state = shared_->state.load();
  if (state == kWeatherRunning || !shared_->state.compare_exchange_strong(state, kWeatherRunning)) return false;
  if (worker_.joinable()) worker_.join();  // finished: it has set the state to 2
  try {
    worker_ = std::thread([shared = shared_, query = std::move(query)] {
      try {
        FetchWeather(
            query,
            [&shared](const WeatherView& view) {
              {
                std::lock_guard lock(shared->mutex);
                shared->view = view;
              }
              shared->sink.Deliver(view);
            },
            &shared->stop);
      } catch (...) {
        // Out of memory: the download ends as it stands.
      }
      shared->state = kWeatherFinished;
    });
  } catch (const std::system_error&) {
    shared_->state = state;  // no thread: nothing has changed
    return false;
  }
  return true;
}

std::int16_t WeatherClient::DownloadState() const { return shared_->state.load(); }

WeatherView WeatherClient::View() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->view;
}

WeatherSink& WeatherClient::sink() { return shared_->sink; }

}  // namespace tovani
