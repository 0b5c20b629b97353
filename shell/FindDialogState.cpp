#include "shell/FindDialogState.h"

#include <algorithm>

namespace vel {

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  // ASCII letters only: a byte of a double-byte character is never folded.
  auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
           return lower(static_cast<unsigned char>(x)) == lower(static_cast<unsigned char>(y));
         });
}

void Remember(std::vector<std::string>& History, const std::string& s) {
  if (s.empty()) return;
  for (const std::string& h : History)
    if (SameIgnoringCase(h, s)) return;
  History.insert(History.begin(), s);
}

}  // namespace

void TFindDialogState::Accept(TFindRequest Request, const std::string& Find, const std::string& Replace,
                              const TFindFlags& Checks) {
  FindText = Find;
  Remember(FindHistory, Find);
  if (Request == frReplace || Request == frReplaceAll) {
    ReplaceText = Replace;
    Remember(ReplaceHistory, Replace);
  }
  Saved = Checks;
}

uint8_t TFindDialogState::Options() const {
  uint8_t o = 0;
  for (size_t i = 0; i < Saved.size(); ++i)
    if (Saved[i]) o = static_cast<uint8_t>(o | (1u << i));
  return o;
}

std::string NotFoundText(const std::string& Find) { return "文字列　'" + Find + "'　は\r\n見つかりませんでした。"; }

std::string ReplacedCountText(int Count) { return std::to_string(Count) + "個置換えました。"; }

}  // namespace vel
