// The root cache of the astronomical layer: the roots found so far, exact
// and rough, under one lock; the rule by which a rough root's date is
// certain; and the cached search that uses them.
#include "engine/root_cache.h"

#include <cmath>
#include <mutex>
#include <optional>
#include <set>
#include <unordered_map>

#include "engine/astronomical_terms.h"

namespace tovani {
namespace roots {
namespace {

using astronomical::RoughRootError;

// The roots found so far, per motion and target.  The Sun's longitude and the
// Moon-Sun elongation only grow, so a search finds the first root after its
// start; and a root recurs no sooner than 29 days (elongation) or 360 days
// (longitude) after the last.  So a known root less than that after a start is
// the root a search from that start would find, and is answered without
// computing it again: neighbouring years ask for the same solstices, terms and
// new moons from different days, and each is computed once.  The rough roots
// are kept apart, and a start within a rough root's error bound of it is
// never answered from it.
class RootCache {
 public:
  explicit RootCache(bool rough) : rough_(rough) {}

  std::optional<double> Find(double start, double target, Motion mode) const {
    const auto roots = roots_.find(Key(target, mode));
    if (roots == roots_.end()) return std::nullopt;
    const double fuzz = Fuzz(mode);
    const auto it = roots->second.upper_bound(start - fuzz);
    if (it == roots->second.end() || *it - start <= fuzz || *it - start >= Recurrence(mode) - fuzz) {
      return std::nullopt;
    }
    return *it;
  }

  // Keeps the root a search from the start found, unless it is not the plain
  // answer; the answer to give for it (the same event known from the other
  // side, a start after it, is answered as known).
  double Keep(double start, double root, double target, Motion mode) {
    const double fuzz = Fuzz(mode);
    if (!(root - start > fuzz && root - start < Recurrence(mode) - fuzz)) return root;
    auto& roots = roots_[Key(target, mode)];
    const auto same = roots.lower_bound(root - kSameEvent - fuzz);
    if (same != roots.end() && *same <= root + kSameEvent + fuzz) return *same;
    if (++size_ > kMaxRoots) {
      roots_.clear();
      size_ = 0;
    }
    roots_[Key(target, mode)].insert(root);
    return root;
  }

  void Clear() {
    roots_.clear();
    size_ = 0;
  }

 private:
  static constexpr double kSameEvent = 1e-3;  // days
  static constexpr std::size_t kMaxRoots = 2000000;
  static int Key(double target, Motion mode) { return static_cast<int>(target) * 2 + static_cast<int>(mode); }
  static double Recurrence(Motion mode) { return mode == Motion::kElongation ? 29.0 : 360.0; }
  double Fuzz(Motion mode) const { return rough_ ? RoughRootError(mode) : 0; }
  bool rough_;
  std::unordered_map<int, std::set<double>> roots_;
  std::size_t size_ = 0;
};

RootCache& Roots(Precision precision) {
  static RootCache exact(false), rough(true);
  return precision == Precision::kInstant ? exact : rough;
}
std::mutex& RootsLock() {
  static std::mutex lock;
  return lock;
}

// A rough root at least its error bound from a local midnight: its date is the true root's.
bool DateIsCertain(double roughRoot, Motion mode) {
  const LocalInstant local = LocalInstantOf(roughRoot);
  const double time = local - std::floor(local);
  return time > RoughRootError(mode) && time < 1 - RoughRootError(mode);
}

}  // namespace

double Solve(double start, double target, Motion mode, Precision precision) {
  const std::lock_guard<std::mutex> hold(RootsLock());
  RootCache& exact = Roots(Precision::kInstant);
  if (const auto known = exact.Find(start, target, mode)) return *known;
  if (precision == Precision::kDay && astronomical::WithinRoughBounds(start)) {
    RootCache& rough = Roots(Precision::kDay);
    if (const auto known = rough.Find(start, target, mode)) return *known;
    const astronomical::SecantPoint p = astronomical::RoughRoot(start, target, mode);
    if (DateIsCertain(p.x, mode)) return rough.Keep(start, p.x, target, mode);
    return exact.Keep(start, astronomical::WholeRoot(p, target, mode), target, mode);
  }
  return exact.Keep(start, SolveLongitude(start, target, mode), target, mode);
}

}  // namespace roots

void ClearSolvedEventCache() {
  const std::lock_guard<std::mutex> hold(roots::RootsLock());
  roots::Roots(roots::Precision::kInstant).Clear();
  roots::Roots(roots::Precision::kDay).Clear();
}

}  // namespace tovani
