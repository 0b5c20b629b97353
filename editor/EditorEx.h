#pragma once
// TEditorEx, the memo window's editor: TEditor plus searching (find, find
// next, find previous), replace, replace-all, and emphasis, which paints
// every match of the last search on the visible rows until FindCancel.
//
// A search works on one logical line at a time, read straight from the row
// list (the rows of a wrapped line are joined, nothing else is copied), so
// word wrap changes nothing about what is found. Only a regular expression
// that names a line break (\n) searches the whole text as one string.
// Without soMatchCase the subject and the pattern are lowered (ASCII letters
// that start a character; trail bytes are never touched), so in a regular
// expression the letters of escapes and classes are lowered too (\X41 is
// \x41). Empty matches are never reported; the search goes on past them.
//
// The compiled pattern is kept across calls and paints, and is compiled
// again only when the text or the options change.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "editor/Editor.h"
#include "editor/EditorExMarks.h"
#include "syntax/EditorColor.h"

namespace vel {

class TAWKStr;

enum TSearchOption : uint8_t { soMatchCase = 0, soWholeWord = 1, soRegexp = 2, soFuzzy = 3 };

// A set of TSearchOption in one byte, bit n for the option of value n.
struct TSearchOptions {
  uint8_t Bits = 0;
  constexpr TSearchOptions() = default;
  constexpr TSearchOptions(std::initializer_list<TSearchOption> l) {
    for (TSearchOption o : l) Bits = static_cast<uint8_t>(Bits | (1u << o));
  }
  constexpr bool Contains(TSearchOption o) const { return (Bits >> o) & 1u; }
  constexpr void Include(TSearchOption o) { Bits = static_cast<uint8_t>(Bits | (1u << o)); }
  constexpr void Exclude(TSearchOption o) { Bits = static_cast<uint8_t>(Bits & ~(1u << o)); }
  constexpr bool operator==(const TSearchOptions&) const = default;
};

class TEditorEx : public TEditor {
 public:
  TEditorEx();
  ~TEditorEx() override;

  // Searches forward from the text offset StartPos (no wrap-around) and
  // selects the match: its offset, or -1 with FindLength 0. A pattern that
  // does not compile raises ERegExpParser before anything is stored or
  // selected.
  int Find(const std::string& AFindText, int StartPos, int& FindLength, TSearchOptions Options);
  int FindNext(int StartPos, int& FindLength);
  // The last match that starts before StartPos (it may run past it).
  int FindPrev(int StartPos, int& FindLength);
  void FindCancel();
  // Replaces the match at or after StartPos and selects the replacement.
  int Replace(const std::string& AFindText, const std::string& ReplaceText, int StartPos, int& FindLength,
              TSearchOptions Options);
  // Replaces every match, left to right without overlap, the replacement
  // taken literally and not searched again; one undo step. The count.
  int ReplaceAll(const std::string& AFindText, const std::string& ReplaceText, TSearchOptions Options);

  // The first match at or after byte Start of the logical line holding Row
  // (or of the whole text joined by CR LF): its byte position there, or -1
  // with Length 0.
  int GetFindStart(int Row, int Start, bool WholeText, int& Length);
  // The display column of byte Index of a row (a trail byte: the column of
  // its second half), -1 past the row's end.
  int CharToCol(int Row, int Index) const;

  bool Finding() const { return FFinding; }
  const std::string& FindText() const { return FFindText; }
  void SetFindText(const std::string& Value);
  TSearchOptions SearchOptions() const { return FSearchOptions; }
  void SetSearchOptions(TSearchOptions Value);
  TEditorColor& FindColor() { return FFindColor; }
  void SetFindColor(const TEditorColor& Value) { FFindColor.Assign(Value); }
  TEditorExMarks& ExMarks() { return FExMarks; }
  void SetExMarks(const TEditorExMarks& Value) { FExMarks.Assign(Value); }
  TVerticalLines& VerticalLines() { return FVerticalLines; }
  void SetVerticalLines(const TVerticalLines& Value) { FVerticalLines.Assign(Value); }
  // When false the selection colour stops one column after a row's text.
  bool SelAfterLF() const { return FSelAfterLF; }
  void SetSelAfterLF(bool Value);

 public:
  // A URL under the pointer shows the hand; a click on one opens it in the
  // browser; a double click selects the token under the caret.
  void MouseDown(const TMouseEvent& E) override;
  void MouseMove(const TMouseEvent& E) override;
  void MouseUp(const TMouseEvent& E) override;

 protected:
  void DoDrawLine(const TRect& ARect, int X, int Y, int Index, const std::string& LineStr, bool ASelected) override;
  void DrawFindText(const TRect& ARect, int X, int Y, int Row, bool ASelected);
  virtual void DrawTabMark(const TRect& ARect, int X, int Y, bool ASelected);
  // The guide lines inside Area (a painted row piece: they are drawn row by
  // row, through the same hook as everything else).
  virtual void DrawVerticalLines(ICanvas& Canvas, const TRect& Area);

 private:
  // The press that may end as a click: a drag or a selection is no click.
  bool FClickArmed = false;
  bool FOnUrl = false;
  // Compiles the stored text and options unless that is already done.
  void Prepare();
  // Stores and compiles the search and switches emphasis on.
  void Begin(const std::string& AFindText, TSearchOptions Options);
  bool WholeTextMode() const;
  // First acceptable match in S (already lowered when needed) at or after From.
  int SearchIn(std::string_view S, int From, int& Length);
  // The logical line Line as a subject: its rows joined, lowered when needed.
  std::string_view Subject(int Line, std::string& Buf, std::string& Low) const;
  std::string_view Lowered(std::string_view S, std::string& Low) const;
  // The logical line holding text offset Offset, the byte in it and the
  // offset of its start.
  void LineOfOffset(int Offset, int& Line, int& Index, int& LineStart) const;
  void Select(int Pos, int Length);
  void DrawMarks(const TRect& ARect, int X, int Y, int Row, bool ASelected);

  bool FFinding = false;
  std::string FFindText;
  TSearchOptions FSearchOptions;
  TEditorColor FFindColor;
  TEditorExMarks FExMarks;
  TVerticalLines FVerticalLines;
  bool FSelAfterLF = false;

  std::unique_ptr<TAWKStr> FRegex;
  bool FPrepared = false;
  bool FUseRegex = false;
  bool FFold = false;  // the subject is lowered
  mutable std::string_view FOrig;  // the subject before lowering
  bool FHeadAtStart = true;  // whether byte 0 of a subject is a line head
  std::string FPattern;  // lowered without soMatchCase
  std::string FNeedle;   // a literal as the lowered subject holds it
  std::string FBuf, FLow;
};

}  // namespace vel
