// Compile-time figures of the regular expression engine.
//   GrepBench --expand PATTERN   prints the fuzzy expansion of PATTERN
//   GrepBench [benchmark flags]  runs the benchmarks
// Compiling the fuzzy expansion of a kana word is the editor's costliest
// routine compile (every character becomes an alternation of 3 to 10 items).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "regexp/AWKStr.h"

namespace {

// Twenty kana whose groups hold from three to ten items.
const std::string kKanaWord = "すけじゅーるのかくにんをおねがいしま";

void BM_CompileFuzzyKanaWord(benchmark::State& state) {
  for (auto _ : state) {
    vel::TAWKStr awk;
    awk.SetUseFuzzyCharDic(true);
    awk.SetRegExp(kKanaWord + "す");
    benchmark::DoNotOptimize(awk.GetCurrentDFA());
  }
}
BENCHMARK(BM_CompileFuzzyKanaWord)->Unit(benchmark::kMillisecond);

void BM_CompileTwentyRepetitions(benchmark::State& state) {
  std::string p = "(a|b)*a";
  for (int i = 0; i < 20; ++i) p += "(a|b)";
  for (auto _ : state) {
    vel::TAWKStr awk;
    awk.SetRegExp(p);
    benchmark::DoNotOptimize(awk.GetCurrentDFA());
  }
}
BENCHMARK(BM_CompileTwentyRepetitions)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--expand") == 0) {
    vel::TAWKStr awk;
    awk.SetUseFuzzyCharDic(true);
    awk.SetRegExp(argv[2]);
    std::fwrite(awk.GetProcessedRegExp().data(), 1, awk.GetProcessedRegExp().size(), stdout);
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
