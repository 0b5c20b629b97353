#pragma once
// An INI file's text, edited the way the platform's private-profile functions
// edit a file: lines are kept as they are except the ones a write touches.
// The headless backend keeps its INI files as such texts.
#include <optional>
#include <string>
#include <vector>

namespace vel {

class TIniText {
 public:
  TIniText() = default;
  explicit TIniText(const std::string& text);
  std::string Text() const;

  std::optional<std::string> Get(const std::string& section, const std::string& key) const;
  void Set(const std::string& section, const std::string& key, const std::string& value);
  void DeleteKey(const std::string& section, const std::string& key);
  void DeleteSection(const std::string& section);
  std::vector<std::string> Keys(const std::string& section) const;
  std::vector<std::string> Sections() const;

 private:
  // Index of the header line of section, or -1.
  int FindSection(const std::string& section) const;
  // End (exclusive) of the section body starting after header line h.
  int SectionEnd(int h) const;
  std::vector<std::string> Lines;
};

// Case-insensitive comparison for ASCII letters only; CP932 bytes compare as they are.
bool SameIniName(const std::string& a, const std::string& b);

}  // namespace vel
