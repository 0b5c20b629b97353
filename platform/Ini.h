#pragma once
// INI files with the semantics of the platform's private-profile functions:
// sections and keys compare without regard to ASCII case, a read of a missing
// key gives the default, values are trimmed of surrounding blanks and of one
// pair of enclosing quotes, and a write creates the file, section and key.
#include <optional>
#include <string>
#include <vector>

namespace vel {

// A stored integer read as the toolkit reads it: whole decimal, 0x or $ hex,
// an unsigned 32-bit value taken as signed (colours); nothing otherwise.
std::optional<int> ParseIniInteger(const std::string& s);

class TIniFile {
 public:
  explicit TIniFile(std::string fileName) : FileName(std::move(fileName)) {}
  const std::string& GetFileName() const { return FileName; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) const;
  // Reads like the toolkit: a value that is not a whole decimal (or 0x hex)
  // integer gives the default.
  int ReadInteger(const std::string& section, const std::string& key, int def) const;
  bool ReadBool(const std::string& section, const std::string& key, bool def) const;
  // Returns false when the file cannot be written.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  bool WriteInteger(const std::string& section, const std::string& key, int value);
  bool WriteBool(const std::string& section, const std::string& key, bool value);
  // The whole file at once.
  bool WriteText(const std::string& text);
  std::vector<std::string> ReadSection(const std::string& section) const;
  std::vector<std::string> ReadSections() const;
  bool EraseSection(const std::string& section);
  bool DeleteKey(const std::string& section, const std::string& key);

 private:
  std::string FileName;
};

// Backend primitives behind TIniFile, shaped like the private-profile calls.
namespace ini {
// Returns the value or, when the key is missing, def. Values longer than the
// platform's buffer are not cut: the backend grows its buffer until they fit.
std::string GetString(const std::string& file, const std::string& section,
                      const std::string& key, const std::string& def);
bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& value);
bool DeleteKey(const std::string& file, const std::string& section, const std::string& key);
bool DeleteSection(const std::string& file, const std::string& section);
// Replaces the whole file by text (an INI file's lines): one write instead
// of one rewrite of the file per key.
bool WriteText(const std::string& file, const std::string& text);
std::vector<std::string> SectionKeys(const std::string& file, const std::string& section);
std::vector<std::string> SectionNames(const std::string& file);
}  // namespace ini

}  // namespace vel
