#pragma once
// Lines of an editor control: the row list seen as logical lines, with text
// file loading and saving. It holds no text of its own.
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "document/EditorClient.h"
#include "document/EditorScreenStrings.h"

namespace vel {

class TEditorStrings {
 public:
  explicit TEditorStrings(IEditorClient& Editor) : FEditor(Editor) {}

  int Count() const;
  std::string Get(int i) const;
  void Put(int i, const std::string& S);
  void Insert(int i, const std::string& S);
  int Add(const std::string& S);
  void Delete(int i);
  void Clear();
  int LinesToRow(int i) const;

  std::string GetText() const;
  void SetText(const std::string& S);

  // CR LF, lone CR and lone LF end a line; a run of Ctrl-Z at the very end
  // is an end marker and dropped, every other byte (Ctrl-Z and NUL too) is
  // kept. Raises EFOpenError when the file cannot be opened.
  void LoadFromFile(const std::string& FileName);
  // Writes the text beside the file first and replaces the file only when
  // the new one is complete. Raises EFCreateError when it cannot be created,
  // EWriteError when writing fails; the old file is then untouched.
  void SaveToFile(const std::string& FileName) const;
  // The same text to a stream; raises EWriteError when the stream fails.
  void SaveToStream(std::ostream& Stream) const;

  void Assign(const TEditorStrings& Source);
  void Assign(const std::vector<std::string>& Source);

  void BeginUpdate();
  void EndUpdate();

 private:
  TEditorScreenStrings& List() const { return FEditor.ScreenStrings(); }
  void ReplaceAll(const std::string& Text);
  // Hands the text out in blocks, CR LF after each raCrlf row; false as soon
  // as Write refuses one.
  bool WriteText(const std::function<bool(const std::string&)>& Write) const;

  IEditorClient& FEditor;
  int FUpdateCount = 0;
};

}  // namespace vel
