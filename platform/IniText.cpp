#include "platform/IniText.h"

#include "text/Sjis.h"

namespace vel {

namespace {

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
  return s.substr(b, e - b);
}

bool IsSectionHeader(const std::string& line, std::string* name) {
  std::string t = Trim(line);
  if (t.size() < 2 || t[0] != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  if (name) *name = Trim(t.substr(1, close - 1));
  return true;
}

bool SplitKey(const std::string& line, std::string* key, std::string* value) {
  size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  std::string k = Trim(line.substr(0, eq));
  if (k.empty() || k[0] == ';') return false;
  if (key) *key = k;
  if (value) *value = Trim(line.substr(eq + 1));
  return true;
}

}  // namespace

bool SameIniName(const std::string& a, const std::string& b) {
  // Folded a character at a time: a trail byte in A-Z must not fold, or ア
  // (83 41) and ヂ (83 61) would name the same key.
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size();) {
    const size_t n = sjis::CharLen(a, i);
    if (n != sjis::CharLen(b, i)) return false;
    if (n == 2 ? (a[i] != b[i] || a[i + 1] != b[i + 1])
               : sjis::AsciiLower(static_cast<unsigned char>(a[i])) !=
                     sjis::AsciiLower(static_cast<unsigned char>(b[i])))
      return false;
    i += n;
  }
  return true;
}

TIniText::TIniText(const std::string& text) {
  sjis::ForEachLine(text, [&](size_t begin, size_t length) { Lines.push_back(text.substr(begin, length)); });
}

std::string TIniText::Text() const {
  std::string out;
  for (const auto& l : Lines) out += l + "\r\n";
  return out;
}

int TIniText::FindSection(const std::string& section) const {
  std::string name;
  for (size_t i = 0; i < Lines.size(); ++i)
    if (IsSectionHeader(Lines[i], &name) && SameIniName(name, section)) return static_cast<int>(i);
  return -1;
}

int TIniText::SectionEnd(int h) const {
  int i = h + 1;
  while (i < static_cast<int>(Lines.size()) && !IsSectionHeader(Lines[i], nullptr)) ++i;
  return i;
}

std::optional<std::string> TIniText::Get(const std::string& section, const std::string& key) const {
  int h = FindSection(section);
  if (h < 0) return std::nullopt;
  std::string k, v;
  for (int i = h + 1, e = SectionEnd(h); i < e; ++i) {
    if (SplitKey(Lines[i], &k, &v) && SameIniName(k, key)) {
      // One pair of enclosing quotes is removed, as the platform does.
      if (v.size() >= 2 && ((v.front() == '"' && v.back() == '"') || (v.front() == '\'' && v.back() == '\'')))
        v = v.substr(1, v.size() - 2);
      return v;
    }
  }
  return std::nullopt;
}

void TIniText::Set(const std::string& section, const std::string& key, const std::string& value) {
  int h = FindSection(section);
  if (h < 0) {
    Lines.push_back("[" + section + "]");
    Lines.push_back(key + "=" + value);
    return;
  }
  std::string k;
  int e = SectionEnd(h);
  int last = h;
  for (int i = h + 1; i < e; ++i) {
    if (SplitKey(Lines[i], &k, nullptr)) {
      last = i;
      if (SameIniName(k, key)) {
        Lines[i] = k + "=" + value;
        return;
      }
    } else if (!Trim(Lines[i]).empty()) {
      last = i;
    }
  }
  Lines.insert(Lines.begin() + last + 1, key + "=" + value);
}

void TIniText::DeleteKey(const std::string& section, const std::string& key) {
  int h = FindSection(section);
  if (h < 0) return;
  std::string k;
  for (int i = h + 1, e = SectionEnd(h); i < e; ++i)
    if (SplitKey(Lines[i], &k, nullptr) && SameIniName(k, key)) {
      Lines.erase(Lines.begin() + i);
      return;
    }
}

void TIniText::DeleteSection(const std::string& section) {
  int h = FindSection(section);
  if (h < 0) return;
  Lines.erase(Lines.begin() + h, Lines.begin() + SectionEnd(h));
}

std::vector<std::string> TIniText::Keys(const std::string& section) const {
  std::vector<std::string> out;
  int h = FindSection(section);
  if (h < 0) return out;
  std::string k;
  for (int i = h + 1, e = SectionEnd(h); i < e; ++i)
    if (SplitKey(Lines[i], &k, nullptr)) out.push_back(k);
  return out;
}

std::vector<std::string> TIniText::Sections() const {
  std::vector<std::string> out;
  std::string name;
  for (const auto& l : Lines)
    if (IsSectionHeader(l, &name)) out.push_back(name);
  return out;
}

}  // namespace vel
