#pragma once
// Reports every line of a file (or of a buffer) that holds a match. A string
// that every match must contain is searched first with memmem; only lines
// holding it are run through the automaton.
#include <functional>
#include <string>
#include <string_view>

#include "regexp/RegularExpression.h"
#include "regexp/TxtFile.h"

namespace vel {

class TGrep;
using TGrepOnMatch = std::function<void(TGrep* Sender, const RE_LineInfo_t& info)>;

class TGrep : public TRegularExpression {
 public:
  TGrep();
  void SetRegExp(const std::string& pattern) override;
  WChar GetLineHeadWChar() const override { return 10; }
  WChar GetLineTailWChar() const override { return 10; }

  // Runs the grep procedure selected by SetRegExp on the file.
  void Grep(const std::string& fileName);
  void GrepByRegExp(const std::string& fileName);
  void GrepByStr(const std::string& fileName);

  // Whether one line (without its line break) holds a match.
  bool LineMatches(std::string_view line) const;

  // Walks the lines of data (ending at CR LF, CR or LF; the last one may lack
  // a break) and calls onLine for each line holding a match, with its number
  // counted from firstLineNo when countLines is set (0 otherwise); onLine
  // returns false to stop. Returns the number of line breaks walked when
  // countLines is set.
  size_t GrepBuffer(const char* data, size_t size, size_t firstLineNo, bool countLines,
                    const std::function<bool(size_t lineNo, std::string_view line)>& onLine) const;

  TGrepOnMatch OnMatch;
  bool Cancel = false;
  bool SelectedByStr() const { return ByStr; }

 private:
  void GrepStream(const std::string& fileName);
  bool ByStr = false;
};

}  // namespace vel
