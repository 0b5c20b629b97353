// Tokenising throughput: every row of the corpus parsed once with NewData and
// NextToken, and each token's colour looked up, as one paint of every row does.
// The baseline walks the same rows copying each (as NewData does) and reading
// every byte through a 256-entry class table: the least any byte-wise
// tokeniser must do. Best of three passes, in thread CPU time so that other
// work on the machine does not count. (<chrono> does not build with the
// CP932 execution character set, hence clock_gettime.) On stderr, a hash of
// every token (kind, place, length, colour) over the corpus in three views,
// untimed, to show that a change of the parser left its output alone.
//   ParserBench CORPUS  -> prints "name value unit" lines
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <time.h>

#include "syntax/EditorParser.h"
#include "syntax/EditorViewInfo.h"
#include "text/Sjis.h"

namespace {

using namespace vel;

struct TBenchHost : IEditorParserHost {
  TEditorViewInfo View;
  std::vector<std::string> Words;
  const TEditorViewInfo* ParserView() const override { return &View; }
  const std::vector<std::string>& ReserveWordList() const override { return Words; }
};

std::vector<std::string> ReadRows(const char* path, size_t& bytes) {
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> rows;
  bytes = 0;
  sjis::ForEachLine(text, [&](size_t start, size_t length) {
    rows.emplace_back(text, start, length);
    bytes += length;
  });
  return rows;
}

template <class F>
double BestSeconds(F&& pass) {
  double best = 1e30;
  for (int i = 0; i < 3; ++i) {
    timespec t0, t1;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t0);
    pass();
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t1);
    best = std::min(best, static_cast<double>(t1.tv_sec - t0.tv_sec) + (t1.tv_nsec - t0.tv_nsec) * 1e-9);
  }
  return best;
}

// The colour as a number that does not depend on where the view lives.
int ColorId(const TEditorViewInfo& view, const TEditorColor* color) {
  if (!color) return -1;
  for (int i = 0; i < TEditorColors::Count; ++i)
    if (color == &view.Colors().Items(i)) return i;
  for (int i = 0; i < view.Brackets().Count(); ++i)
    if (color == &view.Brackets().BracketItems(i).ItemColor()) return 100 + i;
  return -2;
}

// FNV-1a over every token of every row, each row read in the state the
// previous one left (as the row list computes it, rows not wrapped).
uint64_t TokenHash(const std::vector<std::string>& rows, TBenchHost& host) {
  uint64_t h = 14695981039346656037ull;
  auto mix = [&h](int64_t v) {
    for (int i = 0; i < 8; ++i, v >>= 8) h = (h ^ static_cast<uint8_t>(v)) * 1099511628211ull;
  };
  TEditorParser parser("", &host, -1);
  int bracket = -1;
  for (const std::string& row : rows) {
    parser.NewData(row, &host, bracket, toEof);
    for (int k = parser.Token(); k != toEof; k = parser.NextToken()) {
      mix(k);
      mix(parser.SourcePos());
      mix(parser.TokenLength());
      mix(ColorId(host.View, parser.TokenToEditorColor()));
    }
    bracket = parser.BracketIndex();
    mix(bracket);
  }
  return h;
}

void PrintTokenHashes(const std::vector<std::string>& rows) {
  TBenchHost host;
  host.View.SetMail(true);
  host.View.SetUrl(true);
  const uint64_t memo = TokenHash(rows, host);
  host.Words = {"done", "memo", "project", "todo"};
  const uint64_t words = TokenHash(rows, host);
  // Every recogniser on, with pairs that open in one row and close in another.
  host.View.SetCommenter("//");
  host.View.SetQuotation("e");
  host.View.SetControlCode(true);
  host.View.SetHexPrefix("v");
  TEditorBracketItem& a = host.View.Brackets().Add();
  a.SetLeftBracket("「");
  a.SetRightBracket("」");
  TEditorBracketItem& b = host.View.Brackets().Add();
  b.SetLeftBracket(">");
  b.SetRightBracket("！");
  const uint64_t all = TokenHash(rows, host);
  std::fprintf(stderr, "token hash %016llx %016llx %016llx\n", static_cast<unsigned long long>(memo),
               static_cast<unsigned long long>(words), static_cast<unsigned long long>(all));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: ParserBench CORPUS\n");
    return 2;
  }
  size_t bytes = 0;
  const std::vector<std::string> rows = ReadRows(argv[1], bytes);
  if (bytes == 0) {
    std::fprintf(stderr, "ParserBench: empty corpus %s\n", argv[1]);
    return 1;
  }

  // The memo window's view: mail addresses and URLs on, no reserved words.
  // The second pass adds a short reserve word list, each of whose words the
  // corpus holds.
  TBenchHost host;
  host.View.SetMail(true);
  host.View.SetUrl(true);
  TEditorParser parser("", &host, -1);
  uint64_t tokens = 0, sink = 0;
  auto paintAll = [&] {
    tokens = 0;
    for (const std::string& row : rows) {
      parser.NewData(row, &host, -1, toEof);
      for (int k = parser.Token(); k != toEof; k = parser.NextToken()) {
        sink += reinterpret_cast<uintptr_t>(parser.TokenToEditorColor()) + parser.TokenLength();
        ++tokens;
      }
    }
  };
  host.Words.clear();
  const double parse = BestSeconds(paintAll);
  host.Words = {"done", "memo", "project", "todo"};
  const double parseWords = BestSeconds(paintAll);

  static uint8_t classes[256];
  for (int c = 0; c < 256; ++c) classes[c] = static_cast<uint8_t>(c * 7 >> 3);
  std::string copy;
  const double scan = BestSeconds([&] {
    for (const std::string& row : rows) {
      copy.assign(row);
      uint32_t acc = 0;
      for (unsigned char c : copy) acc = acc * 3 + classes[c];
      sink += acc;
    }
  });

  const double mb = static_cast<double>(bytes) / 1e6;
  std::printf("tokenize_mbps %.1f MB/s\n", mb / parse);
  std::printf("tokenize_reserve_words_mbps %.1f MB/s\n", mb / parseWords);
  std::printf("tokenize_baseline_bytescan_mbps %.1f MB/s\n", mb / scan);
  std::printf("tokenize_vs_bytescan %.3f ratio\n", scan / parse);
  std::printf("tokenize_tokens_per_row %.2f tokens\n", static_cast<double>(tokens) / rows.size());
  std::fprintf(stderr, "(checksum %llu)\n", static_cast<unsigned long long>(sink));
  PrintTokenHashes(rows);
  return 0;
}
