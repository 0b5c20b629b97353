#include "document/EditorStrings.h"

#include <cstdio>
#include <memory>
#include <ostream>

#include "document/FileErrors.h"
#include "text/UpdateGuard.h"
#include "platform/FileReplace.h"
#include "text/Sjis.h"

namespace vel {

namespace {

struct TFileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using TFile = std::unique_ptr<std::FILE, TFileCloser>;

using TLinesUpdate = TUpdateGuard<TEditorStrings>;

constexpr size_t kBlockSize = 8192;

}  // namespace

void TEditorStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) {
    List().BeginUpdate();
    FEditor.LinesBeginUpdate();
  }
}

void TEditorStrings::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0) return;
  List().EndUpdate();
  FEditor.LinesEndUpdate();
  for (IEditorClient* c : List().Clients()) c->InitView();
}

int TEditorStrings::Count() const { return List().LineCount(); }

int TEditorStrings::LinesToRow(int i) const { return List().LinesToRow(i); }

std::string TEditorStrings::Get(int i) const { return List().LineText(i); }

void TEditorStrings::Put(int i, const std::string& S) {
  TEditorScreenStrings& l = List();
  FEditor.CleanSelection();
  int R = LinesToRow(i);
  if (i < 0 || R >= l.Count()) return;
  int E = l.RowEnd(R);
  std::string text = S;
  l.CheckCrlf(E, text);
  TCaretUpdate lock(FEditor);
  l.UpdateList(R, E - R + 1, text);
  FEditor.SetSelIndex(R, static_cast<int>(text.size()));
}

void TEditorStrings::Insert(int i, const std::string& S) {
  TEditorScreenStrings& l = List();
  int R = LinesToRow(i);
  if (i < 0 || R > l.Count()) return;
  if (R == l.Count()) {
    Add(S);
    return;
  }
  FEditor.CleanSelection();
  TCaretUpdate lock(FEditor);
  l.UpdateList(R, 0, S + "\r\n");
  FEditor.SetSelIndex(R, static_cast<int>(S.size()) + 2);
}

int TEditorStrings::Add(const std::string& S) {
  TEditorScreenStrings& l = List();
  FEditor.CleanSelection();
  int previous = Count();
  int first;
  std::string text;
  const int rows = l.Count();
  if (rows > 0 && l.Rows().GetRows(rows - 1) != raCrlf) {
    first = rows - 1;
    text = l.Rows().Get(first) + "\r\n" + S;
    l.UpdateList(first, 1, text);
  } else {
    first = rows;
    text = S + "\r\n";
    l.UpdateList(rows, 0, text);
  }
  FEditor.SetSelIndex(first, static_cast<int>(text.size()));
  return previous;
}

void TEditorStrings::Delete(int i) {
  TEditorScreenStrings& l = List();
  FEditor.CleanSelection();
  int R = LinesToRow(i);
  if (i < 0 || R >= l.Count()) return;
  l.UpdateList(R, l.RowEnd(R) - l.RowStart(R) + 1, std::string());
  FEditor.SetSelIndex(R, 0);
}

void TEditorStrings::Clear() { List().Clear(); }

std::string TEditorStrings::GetText() const { return List().Text(); }

void TEditorStrings::ReplaceAll(const std::string& Text) {
  TEditorStringList rows;
  sjis::ForEachLine(Text, [&](size_t b, size_t n) { rows.AddRow(Text.substr(b, n), raCrlf); });
  List().LoadRows(rows);
}

void TEditorStrings::SetText(const std::string& S) {
  TLinesUpdate update(*this);
  ReplaceAll(S);
}

void TEditorStrings::Assign(const TEditorStrings& Source) {
  if (&Source == this) return;
  std::string text = Source.GetText();
  {
    TLinesUpdate update(*this);
    ReplaceAll(text);
  }
  FEditor.SetRow(List().Count());
  FEditor.SetCol(0);
}

void TEditorStrings::Assign(const std::vector<std::string>& Source) {
  std::string text;
  for (const std::string& s : Source) text += s + "\r\n";
  {
    TLinesUpdate update(*this);
    ReplaceAll(text);
  }
  FEditor.SetRow(List().Count());
  FEditor.SetCol(0);
}

void TEditorStrings::LoadFromFile(const std::string& FileName) {
  TLinesUpdate update(*this);
  List().Clear();
  TFile f(std::fopen(FileName.c_str(), "rb"));
  if (!f) throw EFOpenError(FileName);

  // One pass over 8 KB blocks with the line rules of ForEachLine: rows are
  // appended as their breaks are found; a CR that ends a block and an LF
  // that starts the next one are one break.
  TEditorStringList l;
  std::unique_ptr<char[]> buf(new char[kBlockSize]);
  std::string pending;
  bool skipLF = false;
  size_t n;
  while ((n = std::fread(buf.get(), 1, kBlockSize, f.get())) > 0) {
    const char* p = buf.get();
    const char* const end = p + n;
    if (skipLF) {
      skipLF = false;
      if (*p == '\n') ++p;
    }
    while (p < end) {
      const char* e = sjis::FindBreak(p, end);
      if (e == end) {
        pending.append(p, end);
        break;
      }
      if (pending.empty()) {
        l.AddRow(std::string(p, e), raCrlf);
      } else {
        // Copied at its size; pending keeps its capacity for the next long line.
        pending.append(p, e);
        l.AddRow(std::string(pending), raCrlf);
        pending.clear();
      }
      skipLF = *e == '\r' && e + 1 == end;
      p = sjis::SkipBreak(e, end);
    }
  }
  // Only a run of Ctrl-Z with nothing after it is the old end-of-file
  // marker; a Ctrl-Z anywhere else is text and is kept.
  pending.erase(pending.find_last_not_of('\x1a') + 1);
  if (!pending.empty()) l.AddRow(std::move(pending), raEof);
  List().LoadRows(l);
}

bool TEditorStrings::WriteText(const std::function<bool(const std::string&)>& Write) const {
  const TEditorStringList& l = List().Rows();
  bool ok = true;
  std::string out;
  out.reserve(1 << 16);
  for (int r = 0; r < l.Count() && ok; ++r) {
    out += l.Get(r);
    if (l.GetRows(r) == raCrlf) out += "\r\n";
    if (out.size() >= (1 << 16)) {
      ok = Write(out);
      out.clear();
    }
  }
  return ok && (out.empty() || Write(out));
}

void TEditorStrings::SaveToStream(std::ostream& Stream) const {
  const bool ok = WriteText([&](const std::string& s) {
    return static_cast<bool>(Stream.write(s.data(), static_cast<std::streamsize>(s.size())));
  });
  if (!ok || !Stream.flush()) throw EWriteError(std::string());
}

void TEditorStrings::SaveToFile(const std::string& FileName) const {
  const TSaveTarget target = ResolveSaveTarget(FileName);
  if (target.ReadOnly) throw EFReadOnlyError(FileName);
  const std::string temp = CreateScratchBeside(target.Path);
  if (temp.empty()) throw EFCreateError(FileName);
  TFile f(std::fopen(temp.c_str(), "wb"));
  if (!f) {
    std::remove(temp.c_str());
    throw EFCreateError(FileName);
  }
  bool ok = WriteText([&](const std::string& s) { return std::fwrite(s.data(), 1, s.size(), f.get()) == s.size(); });
  ok = std::fflush(f.get()) == 0 && ok;
  ok = std::fclose(f.release()) == 0 && ok;
  if (!ok) {
    std::remove(temp.c_str());
    throw EWriteError(FileName);
  }
  if (!ReplaceFileWith(temp, target.Path)) {
    std::remove(temp.c_str());
    throw EFCreateError(FileName);
  }
}

}  // namespace vel
