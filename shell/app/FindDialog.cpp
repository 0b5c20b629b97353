#include "shell/app/FindDialog.h"

#include "shell/app/Resource.h"

namespace vel {

namespace {

constexpr int kChecks[] = {IDC_FIND_CASE, IDC_FIND_WORD, IDC_FIND_REGEXP, IDC_FIND_FUZZY};

}  // namespace

TFindDialog::TFindDialog(TFindDialogState& State) : TModalDialog(IDD_FIND), State(State) {}

void TFindDialog::InitDialog() {
  SetItems(IDC_FIND_TEXT, State.FindHistory);
  SetItems(IDC_REPLACE_TEXT, State.ReplaceHistory);
  // The last search is shown, ready to be searched again or typed over.
  if (!State.FindHistory.empty()) SetItemIndex(IDC_FIND_TEXT, 0);
  if (!State.ReplaceHistory.empty()) SetItemIndex(IDC_REPLACE_TEXT, 0);
  SetChecks(State.Saved);
}

bool TFindDialog::Command(int Id, int) {
  switch (Id) {
    case IDC_FIND_FIND:
    case IDC_FIND_REPLACE:
    case IDC_FIND_REPLACEALL:
      State.Accept(static_cast<TFindRequest>(Id), Text(IDC_FIND_TEXT), Text(IDC_REPLACE_TEXT), Checks());
      End(Id);
      return true;
    case IDCANCEL:
      SetChecks(State.Cancel());
      End(IDCANCEL);
      return true;
    default:
      return false;
  }
}

TFindFlags TFindDialog::Checks() const {
  TFindFlags f{};
  for (size_t i = 0; i < f.size(); ++i) f[i] = Checked(kChecks[i]);
  return f;
}

void TFindDialog::SetChecks(const TFindFlags& Flags) {
  for (size_t i = 0; i < Flags.size(); ++i) SetChecked(kChecks[i], Flags[i]);
}

}  // namespace vel
