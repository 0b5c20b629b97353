#include "regexp/REScanner.h"

namespace vel {

TREScanner::TREScanner(const std::string& s) { SetRegExpStr(s); }

void TREScanner::SetRegExpStr(const std::string& s) {
  RegExpStr = s;
  Index = 1;
  InCharClass = false;
  Token = retk_End;
  Symbol = RESymbol_t();
}

void TREScanner::Fail(const char* msg) const { throw ERegExpParser(msg, static_cast<size_t>(Index)); }

REToken_t TREScanner::GetToken() {
  if (InCharClass) {
    Token = GetTokenCC();
    if (Token == retk_RBra) InCharClass = false;
  } else {
    Token = GetTokenStd();
    if (Token == retk_LBra || Token == retk_LBraNeg) InCharClass = true;
  }
  return Token;
}

REToken_t TREScanner::GetTokenStd() {
  WChar c = GetWChar(RegExpStr, Index);
  Symbol.StartChar = c;
  switch (c) {
    case 0: return retk_End;
    case '$': return retk_LTail;
    case '(': return retk_LPar;
    case ')': return retk_RPar;
    case '*': return retk_Star;
    case '+': return retk_Plus;
    case '.': return retk_Dot;
    case '?': return retk_QMark;
    case ']': return retk_RBra;
    case '^': return retk_LHead;
    case '|': return retk_Union;
    case '[': {
      int before = Index;
      WChar n = GetWChar(RegExpStr, Index);
      if (n == 0) Fail(remsg::NeedRBra);
      if (n == '^') return retk_LBraNeg;
      Index = before;
      return retk_LBra;
    }
    case '\\':
      Symbol.StartChar = GetQuotedWChar(RegExpStr, Index);
      return retk_Char;
    default: return retk_Char;
  }
}

REToken_t TREScanner::GetTokenCC() {
  WChar a = GetWChar(RegExpStr, Index);
  Symbol.StartChar = a;
  if (a == 0) Fail(remsg::NeedRBra);
  if (a == ']') return retk_RBra;
  if (a == '\\') a = Symbol.StartChar = GetQuotedWChar(RegExpStr, Index);
  // Characters are put back by index: stepping back over a long run of
  // double-byte characters would cost the length of the run each time.
  int beforeB = Index;
  WChar b = GetWChar(RegExpStr, Index);
  if (b == 0) Fail(remsg::NeedRBra);
  if (b != '-') {
    Index = beforeB;
    return retk_Char;
  }
  WChar c = GetWChar(RegExpStr, Index);
  if (c == 0) Fail(remsg::NeedRBra);
  if (c == ']') {
    Index = beforeB;
    return retk_Char;
  }
  if (c == '\\') c = GetQuotedWChar(RegExpStr, Index);
  if (c < a) Fail(remsg::InvalidRange);
  Symbol.EndChar = c;
  return retk_CharClass;
}

}  // namespace vel
