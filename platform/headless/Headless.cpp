#include "platform/headless/Headless.h"

#include <deque>
#include <set>

#include "platform/Clipboard.h"
#include "platform/Color.h"
#include "platform/Cursors.h"
#include "platform/Ini.h"
#include "platform/IniText.h"
#include "platform/Messages.h"
#include "platform/Reset.h"
#include "platform/Shell.h"

namespace vel {

namespace headless {
void ForgetFocus();
}

namespace {

struct State {
  TRect Work{0, 0, 1024, 740};
  TRect Screen{0, 0, 1024, 768};
  std::deque<int> Answers;
  std::vector<headless::TShownMessage> Shown;
  std::map<std::string, TIniText> Inis;
  std::set<std::string> ReadOnlyInis;
  std::function<void()> PumpHook;
  std::vector<std::function<void()>> ResetHooks;
  std::map<int, std::string> Cursors;
  std::set<std::string> MissingCursorResources;
  std::vector<std::string> Opened;
};

State& S() {
  static State s;
  return s;
}

class HeadlessClipboard final : public IClipboard {
 public:
  unsigned RegisterFormat(const std::string& name) override {
    auto it = Formats.find(name);
    if (it != Formats.end()) return it->second;
    unsigned id = NextFormat++;
    Formats[name] = id;
    return id;
  }
  bool HasText() override { return Data.count(kText) != 0; }
  bool HasFormat(unsigned f) override { return Data.count(f) != 0; }
  std::optional<std::string> GetData(unsigned f) override {
    if (Busy) return std::nullopt;
    auto it = Data.find(f);
    if (it == Data.end()) return std::nullopt;
    return it->second;
  }
  std::optional<std::string> GetText() override {
    // Our own copies keep every byte; plain text from elsewhere ends at a NUL.
    if (auto whole = GetData(RegisterFormat(kCountedTextFormat))) return whole;
    return GetData(kText);
  }
  bool SetText(const std::string& text, unsigned extra) override {
    if (Busy) return false;
    Data.clear();
    Data[kText] = text.substr(0, text.find('\0'));
    Data[RegisterFormat(kCountedTextFormat)] = text;
    if (extra) Data[extra] = text.substr(0, text.find('\0'));
    return true;
  }
  void Reset() {
    // Registered numbers stay, as they do for the whole session on the platform.
    Data.clear();
    Busy = false;
  }
  static constexpr unsigned kText = 1;  // CF_TEXT
  std::map<unsigned, std::string> Data;
  std::map<std::string, unsigned> Formats;
  unsigned NextFormat = 0xC000;
  bool Busy = false;
};

HeadlessClipboard& HClip() {
  static HeadlessClipboard c;
  return c;
}

}  // namespace

IClipboard& Clipboard() { return HClip(); }

TRect WorkArea() { return S().Work; }
TRect ScreenRect() { return S().Screen; }

int ShowMessageBox(TWindowHandle owner, const std::string& text, const std::string& caption,
                   unsigned flags) {
  S().Shown.push_back({owner, text, caption, flags});
  if (!S().Answers.empty()) {
    int a = S().Answers.front();
    S().Answers.pop_front();
    return a;
  }
  unsigned kind = flags & 0xF;
  return (kind == mbYesNo || kind == mbYesNoCancel) ? idYes : idOK;
}

void ProcessMessages() {
  if (S().PumpHook) S().PumpHook();
}

TColor ColorToRGB(TColor c) {
  if (!IsSystemColor(c)) return c;
  // A fixed classic scheme keeps painting tests deterministic.
  static const TColor scheme[] = {
      RGBColor(200, 200, 200), RGBColor(0, 128, 128), RGBColor(0, 0, 128), RGBColor(128, 128, 128),
      RGBColor(192, 192, 192), RGBColor(255, 255, 255), RGBColor(0, 0, 0), RGBColor(0, 0, 0),
      RGBColor(0, 0, 0), RGBColor(255, 255, 255), RGBColor(192, 192, 192), RGBColor(192, 192, 192),
      RGBColor(128, 128, 128), RGBColor(0, 0, 128), RGBColor(255, 255, 255), RGBColor(192, 192, 192),
      RGBColor(128, 128, 128), RGBColor(128, 128, 128), RGBColor(0, 0, 0), RGBColor(192, 192, 192),
      RGBColor(255, 255, 255), RGBColor(64, 64, 64), RGBColor(223, 223, 223), RGBColor(0, 0, 0),
      RGBColor(255, 255, 225)};
  unsigned idx = static_cast<unsigned>(c) & 0xFF;
  return idx < sizeof(scheme) / sizeof(scheme[0]) ? scheme[idx] : clBlack;
}

void AtPlatformReset(std::function<void()> forget) { S().ResetHooks.push_back(std::move(forget)); }

bool CursorIsDefault(int index) { return S().Cursors.count(index) == 0; }

bool InstallCursorResource(int index, const std::string& resourceName) {
  if (S().MissingCursorResources.count(resourceName)) return false;
  S().Cursors[index] = resourceName;
  return true;
}

namespace ini {

std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& def) {
  auto it = S().Inis.find(file);
  if (it == S().Inis.end()) return def;
  auto v = it->second.Get(section, key);
  return v ? *v : def;
}

bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& value) {
  if (S().ReadOnlyInis.count(file)) return false;
  S().Inis[file].Set(section, key, value);
  return true;
}

bool WriteText(const std::string& file, const std::string& text) {
  if (S().ReadOnlyInis.count(file)) return false;
  S().Inis[file] = TIniText(text);
  return true;
}

bool DeleteKey(const std::string& file, const std::string& section, const std::string& key) {
  if (S().ReadOnlyInis.count(file)) return false;
  auto it = S().Inis.find(file);
  if (it != S().Inis.end()) it->second.DeleteKey(section, key);
  return true;
}

bool DeleteSection(const std::string& file, const std::string& section) {
  if (S().ReadOnlyInis.count(file)) return false;
  auto it = S().Inis.find(file);
  if (it != S().Inis.end()) it->second.DeleteSection(section);
  return true;
}

std::vector<std::string> SectionKeys(const std::string& file, const std::string& section) {
  auto it = S().Inis.find(file);
  return it == S().Inis.end() ? std::vector<std::string>{} : it->second.Keys(section);
}

std::vector<std::string> SectionNames(const std::string& file) {
  auto it = S().Inis.find(file);
  return it == S().Inis.end() ? std::vector<std::string>{} : it->second.Sections();
}

}  // namespace ini

namespace headless {

const std::vector<std::string>& OpenedWithDesktop() { return S().Opened; }

void Reset() {
  auto hooks = std::move(S().ResetHooks);
  S() = State{};
  HClip().Reset();
  ForgetFocus();
  for (auto& forget : hooks) forget();
  // Forgetting is needed again after the next reset.
  S().ResetHooks = std::move(hooks);
}

void SetWorkArea(const TRect& r) { S().Work = r; }
void SetScreenRect(const TRect& r) { S().Screen = r; }
void QueueMessageBoxAnswer(int answer) { S().Answers.push_back(answer); }
const std::vector<TShownMessage>& ShownMessages() { return S().Shown; }

std::string IniFileText(const std::string& file) {
  auto it = S().Inis.find(file);
  return it == S().Inis.end() ? std::string() : it->second.Text();
}

void SetIniFileText(const std::string& file, const std::string& text) { S().Inis[file] = TIniText(text); }

void SetIniFileReadOnly(const std::string& file, bool readOnly) {
  if (readOnly)
    S().ReadOnlyInis.insert(file);
  else
    S().ReadOnlyInis.erase(file);
}

void SetProcessMessagesHook(std::function<void()> hook) { S().PumpHook = std::move(hook); }
void SetClipboardBusy(bool busy) { HClip().Busy = busy; }
std::map<unsigned, std::string> ClipboardContents() { return HClip().Data; }

void SetCursorResourceAvailable(const std::string& name, bool available) {
  if (available)
    S().MissingCursorResources.erase(name);
  else
    S().MissingCursorResources.insert(name);
}

}  // namespace headless

bool OpenWithDesktop(const std::string& Target) {
  S().Opened.push_back(Target);
  return true;
}

}  // namespace vel
