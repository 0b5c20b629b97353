#pragma once
// Token scanner of the pattern language, with a separate mode for the inside
// of a character class ("[...]"): in class mode ranges and escapes are read
// and only "]" ends the class.
#include <string>

#include "regexp/RegExpChar.h"

namespace vel {

enum REToken_t {
  retk_Char, retk_CharClass, retk_Union, retk_LPar, retk_RPar, retk_Star, retk_Plus, retk_QMark,
  retk_LBra, retk_LBraNeg, retk_RBra, retk_Dot, retk_LHead, retk_LTail, retk_End
};

struct RESymbol_t {
  WChar StartChar = 0;
  WChar EndChar = 0;
};

class TREScanner {
 public:
  explicit TREScanner(const std::string& s = std::string());
  void SetRegExpStr(const std::string& s);
  const std::string& GetRegExpStr() const { return RegExpStr; }
  REToken_t GetToken();
  REToken_t GetTokenStd();
  REToken_t GetTokenCC();

  std::string RegExpStr;
  int Index = 1;
  REToken_t Token = retk_End;
  RESymbol_t Symbol;
  bool InCharClass = false;

 private:
  [[noreturn]] void Fail(const char* msg) const;
};

}  // namespace vel
