#include "regexp/REPreProcessor.h"

namespace vel {

TREPreProcessor::TREPreProcessor(const std::string& s) : Scanner(s) {}

void TREPreProcessor::MakeTokenList() {
  TokenList.clear();
  for (;;) {
    RETokenInfo_t t;
    t.FromIndex = Scanner.Index;
    t.Token = Scanner.GetToken();
    if (t.Token == retk_End) break;
    t.Char = Scanner.Symbol.StartChar;
    t.ToIndex = Scanner.Index;
    TokenList.push_back(t);
  }
  TokenList.push_back(RETokenInfo_t());
}

void TREPreProcessor::Run() {
  ProcessedRegExpStr = Scanner.GetRegExpStr();
  if (UseSynonymDic) {
    Process(&TREPreProcessor::FindSynonym);
    Scanner.SetRegExpStr(ProcessedRegExpStr);
  }
  if (UseFuzzyCharDic) Process(&TREPreProcessor::FindFuzzyWChar);
}

void TREPreProcessor::Process(TREPreProcessorFindFunc find) {
  std::string out;
  Scanner.SetRegExpStr(Scanner.GetRegExpStr());
  MakeTokenList();
  const std::string& src = Scanner.GetRegExpStr();
  auto text = [&](int i) {
    const RETokenInfo_t& t = TokenList[i];
    return src.substr(t.FromIndex - 1, t.ToIndex - t.FromIndex);
  };
  bool inClass = false;
  int n = static_cast<int>(TokenList.size());
  int i = 0;
  while (i < n) {
    const RETokenInfo_t& t = TokenList[i];
    if (t.Token == retk_LBra || t.Token == retk_LBraNeg) inClass = true;
    if (t.Token == retk_RBra) inClass = false;
    if (t.Token != retk_Char || inClass) {
      if (t.Token != retk_End) out += text(i);
      ++i;
      continue;
    }
    int j = i + 1;
    while (TokenList[j].Token == retk_Char) ++j;
    while (i < j) {
      int k = (this->*find)(i, j);
      if (k == -1) {
        out += text(i);
        ++i;
      } else {
        out += ReplaceText;
        i = k;
      }
    }
  }
  ProcessedRegExpStr = out;
}

int TREPreProcessor::FindSynonym(int from, int to) {
  for (const TREDictionary* d : SynonymDicList) {
    int k = ReferToOneList(from, to, *d);
    if (k != -1) return k;
  }
  return -1;
}

int TREPreProcessor::FindFuzzyWChar(int from, int to) {
  for (const TREDictionary* d : FuzzyCharDicList) {
    int k = ReferToOneList(from, to, *d);
    if (k != -1) return k;
  }
  return -1;
}

int TREPreProcessor::ReferToOneList(int from, int to, const TREDictionary& dic) {
  for (const TREDicGroup& group : dic) {
    for (const std::string& item : group) {
      if (item.empty()) continue;
      int idx = 1, tok = from;
      bool ok = true;
      while (idx <= static_cast<int>(item.size())) {
        if (tok >= to) {
          ok = false;
          break;
        }
        WChar c = GetWChar(item, idx);
        if (c != TokenList[tok].Char) {
          ok = false;
          break;
        }
        ++tok;
      }
      if (!ok) continue;
      ReplaceText.assign(1, '(');
      for (size_t m = 0; m < group.size(); ++m) {
        if (m) ReplaceText += '|';
        ReplaceText += QuoteMetaWChar(group[m]);
      }
      ReplaceText += ')';
      return tok;
    }
  }
  return -1;
}

std::vector<std::string> REParseCommaText(const std::string& row) {
  std::vector<std::string> items;
  size_t i = 0, n = row.size();
  auto skipBlanks = [&] {
    while (i < n && static_cast<unsigned char>(row[i]) <= 0x20) ++i;
  };
  skipBlanks();
  while (i < n) {
    std::string item;
    if (row[i] == '"') {
      ++i;
      while (i < n) {
        if (row[i] == '"') {
          if (i + 1 < n && row[i + 1] == '"') {
            item += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        if (sjis::IsLeadByte(static_cast<unsigned char>(row[i])) && i + 1 < n) item += row[i++];
        item += row[i++];
      }
    } else {
      while (i < n && row[i] != ',' && static_cast<unsigned char>(row[i]) > 0x20) {
        if (sjis::IsLeadByte(static_cast<unsigned char>(row[i])) && i + 1 < n) item += row[i++];
        item += row[i++];
      }
    }
    items.push_back(item);
    skipBlanks();
    if (i < n && row[i] == ',') {
      ++i;
      skipBlanks();
    }
  }
  return items;
}

}  // namespace vel
