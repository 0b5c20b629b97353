#pragma once
// The system clipboard as the editor and the shell see it: plain text in the
// process code page, plus privately registered formats carrying raw bytes.
#include <optional>
#include <string>

namespace vel {

// Beside the plain text, which ends at the first NUL for every program, the
// program's own copies carry the text whole under this registered format.
inline constexpr char kCountedTextFormat[] = "Velmorind Counted Text";

class IClipboard {
 public:
  virtual ~IClipboard() = default;
  // Registered format numbers are stable only within one session of the system.
  virtual unsigned RegisterFormat(const std::string& name) = 0;
  virtual bool HasText() = 0;
  virtual bool HasFormat(unsigned format) = 0;
  // The text whole when the program itself copied it, else the plain text.
  virtual std::optional<std::string> GetText() = 0;
  virtual std::optional<std::string> GetData(unsigned format) = 0;
  // Replaces the clipboard contents with text and, when extraFormat is not 0,
  // the same text (to its first NUL) under that format, which marks the kind
  // of copy. Returns false when the clipboard is busy.
  virtual bool SetText(const std::string& text, unsigned extraFormat = 0) = 0;
};

// The process-wide clipboard of the linked backend.
IClipboard& Clipboard();

}  // namespace vel
