#pragma once
// What the bench programs share: a monotonic clock in microseconds, the
// median of a sample, and the "name value unit" line scripts/bench prints.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace vel::bench {

inline double NowUs() {
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Time of one call of f in ms, the best of reps.
template <class F>
double BestMs(F&& f, int reps = 3) {
  double best = 1e30;
  for (int rep = 0; rep < reps; ++rep) {
    const double t0 = NowUs();
    f();
    best = std::min(best, (NowUs() - t0) / 1000);
  }
  return best;
}

inline void Print(const char* name, double value, const char* unit) { std::printf("%s %.3f %s\n", name, value, unit); }

}  // namespace vel::bench
