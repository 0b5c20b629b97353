// Writes a deterministic Shift-JIS memo corpus: notes of kanji, kana,
// half-width kana and ASCII with URLs, mail addresses, tabs and a few very
// long lines; about 74 bytes per line, CR LF. Same seed, same bytes.
//   gen_corpus OUT_FILE [MEGABYTES=100] [SEED=20261208]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Rng {
  uint64_t s;
  uint32_t Next() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return static_cast<uint32_t>(s >> 11);
  }
  uint32_t Below(uint32_t n) { return Next() % n; }
};

// Literals compile to CP932, so these are Shift-JIS bytes.
const std::vector<std::string> kWords = {
    "会議", "予定", "連絡", "確認", "資料", "検索", "打ち合わせ", "明日", "今週", "来月",
    "東京", "大阪", "電話", "メール", "プロジェクト", "スケジュール", "ファイル", "報告書",
    "お疲れさまです", "よろしくお願いします", "ありがとうございました", "了解しました",
    "表示", "能力", "ソフト", "構造", "申請", "締め切り", "見積もり", "請求書", "議事録",
    "ｶﾀｶﾅ", "ﾒﾓ", "ﾃｽﾄ", "ｱﾄﾞﾚｽ", "ＡＢＣ", "１２３", "（株）", "「重要」", "【至急】", "①", "㈱",
    "memo", "todo", "done", "meeting", "project", "draft", "2026/12/08", "10:30", "v1.2",
    "、", "。", "・", "ー", "？", "！"};

const std::vector<std::string> kDomains = {"example.co.jp", "mail.example.com", "corp.example.jp", "example.com",
                                           "velmorind.org"};
const std::vector<std::string> kUsers = {"tanaka", "suzuki", "info", "sato.k", "yamada_t", "admin"};

std::string Url(Rng& r) {
  std::string u = (r.Below(3) == 0) ? "https://" : "http://";
  u += "www." + kDomains[r.Below(kDomains.size())] + "/";
  int parts = 1 + r.Below(3);
  for (int i = 0; i < parts; ++i) u += kUsers[r.Below(kUsers.size())] + (i + 1 < parts ? "/" : ".html");
  return u;
}

std::string Mail(Rng& r) { return kUsers[r.Below(kUsers.size())] + "@" + kDomains[r.Below(kDomains.size())]; }

std::string Line(Rng& r, size_t target) {
  std::string s;
  if (r.Below(10) == 0) s += "\t";
  if (r.Below(12) == 0) s += "> ";
  while (s.size() < target) {
    uint32_t k = r.Below(100);
    if (r.Below(40000) == 0) s += "xylophone";  // the rare word searches look for
    if (k < 2) s += Url(r);
    else if (k < 4) s += Mail(r);
    else if (k < 6) s += "\t";
    else if (k < 16) s += " ";
    else s += kWords[r.Below(kWords.size())];
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: gen_corpus OUT_FILE [MEGABYTES] [SEED]\n");
    return 2;
  }
  const uint64_t bytes = (argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 100) * 1000000ULL;
  Rng r{argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 20261208ULL};
  if (r.s == 0) r.s = 1;
  FILE* f = std::fopen(argv[1], "wb");
  if (!f) {
    std::perror(argv[1]);
    return 2;
  }
  uint64_t written = 0;
  std::string buf;
  while (written < bytes) {
    uint32_t k = r.Below(1000);
    size_t len;
    if (k < 120) len = 0;                      // blank lines between notes
    else if (k < 997) len = 15 + r.Below(95);  // ordinary note lines
    else len = 2000 + r.Below(6000);            // pasted logs: several KB
    std::string line = len ? Line(r, len) : std::string();
    buf += line;
    buf += "\r\n";
    written += line.size() + 2;
    if (buf.size() > (1 << 20)) {
      std::fwrite(buf.data(), 1, buf.size(), f);
      buf.clear();
    }
  }
  std::fwrite(buf.data(), 1, buf.size(), f);
  return std::fclose(f) == 0 ? 0 : 2;
}
