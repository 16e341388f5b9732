#include "ui/win32/settings_dialog.h"

#include <string>
#include <vector>

#include "external/browser_launcher.h"
#include "platform/utf16.h"
#include "resources/resource_ids.h"
#include "ui/settings_rules.h"
#include "ui/win32/about_dialog.h"
#include "ui/win32/dialog_support.h"
#include "ui/win32/text_room.h"

namespace {

// What the dialog's procedure works on, reached through the dialog's user data.
struct SettingsForm {
  RunState& Run;
  std::vector<std::string> Names;  ///< The listed names, in list order.
};

int SelectedRow(HWND dialog) {
  return static_cast<int>(SendDlgItemMessageW(dialog, IDC_TEMPLATE_LIST, CB_GETCURSEL, 0, 0));
}

void UpdateThumbnailsField(HWND dialog, const SettingsForm& form) {
  SetDialogItemText(dialog, IDC_THUMBNAILS_FIELD,
                    ProposedThumbnailsText(form.Run, form.Names, SelectedRow(dialog)));
}

// The list comes sorted from the rules and is shown in their order, so a row
// means the same name to both.
void FillTemplateList(HWND dialog, SettingsForm& form) {
  const TemplateList list = OpenTemplateList(form.Run);
  form.Names = list.Names;
  for (const std::string& name : form.Names) {
    SendDlgItemMessageW(dialog, IDC_TEMPLATE_LIST, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(Utf16(name).c_str()));
  }
  SendDlgItemMessageW(dialog, IDC_TEMPLATE_LIST, CB_SETCURSEL, static_cast<WPARAM>(list.Selected),
                      0);
  UpdateThumbnailsField(dialog, form);
}

void ShowSettings(HWND dialog, const RunSettings& settings) {
  const int checked = settings.Recording == RecordAlways  ? IDC_RECORD_ALWAYS_BUTTON
                      : settings.Recording == RecordNever ? IDC_RECORD_NEVER_BUTTON
                                                          : IDC_RECORD_WHEN_MISSING_BUTTON;
  CheckRadioButton(dialog, IDC_RECORD_WHEN_MISSING_BUTTON, IDC_RECORD_NEVER_BUTTON, checked);
  CheckDlgButton(dialog, IDC_OPEN_BROWSER_BOX, settings.OpenBrowserWhenDone ? BST_CHECKED : 0);
  CheckDlgButton(dialog, IDC_INCLUDE_SUBFOLDERS_BOX, settings.IncludeSubfolders ? BST_CHECKED : 0);
}

bool Checked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

SettingsControls Controls(HWND dialog) {
  SettingsControls controls;
  controls.TemplateRow = SelectedRow(dialog);
  controls.ThumbnailsText = DialogItemText(dialog, IDC_THUMBNAILS_FIELD);
  controls.Recording = Checked(dialog, IDC_RECORD_WHEN_MISSING_BUTTON) ? RecordWhenMissing
                       : Checked(dialog, IDC_RECORD_ALWAYS_BUTTON)     ? RecordAlways
                       : Checked(dialog, IDC_RECORD_NEVER_BUTTON)      ? RecordNever
                                                                       : controls.Recording;
  controls.OpenBrowserWhenDone = Checked(dialog, IDC_OPEN_BROWSER_BOX);
  controls.IncludeSubfolders = Checked(dialog, IDC_INCLUDE_SUBFOLDERS_BOX);
  return controls;
}

void PressOk(HWND dialog, SettingsForm& form) {
  switch (PressOk(form.Run, form.Names, Controls(dialog))) {
    case OkAnswer::Close:
      EndDialog(dialog, 1);
      break;
    case OkAnswer::ChooseTemplate:
      SetFocus(GetDlgItem(dialog, IDC_TEMPLATE_LIST));
      break;
    case OkAnswer::Stay:
      break;
  }
}

void Initialise(HWND dialog, SettingsForm& form) {
  ShowProgramIcon(dialog);
  MakeRoomForTexts(dialog);
  CenterWindow(dialog);
  ShowKeyboardCues(dialog);
  form.Run.Owner = dialog;
  FillTemplateList(dialog, form);
  ShowSettings(dialog, form.Run.Settings);
}

INT_PTR CALLBACK SettingsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    Initialise(dialog, *reinterpret_cast<SettingsForm*>(lParam));
    return TRUE;  // the focus goes to the first tab stop, the template list
  }
  auto* form = reinterpret_cast<SettingsForm*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message != WM_COMMAND || form == nullptr) {
    return FALSE;
  }
  switch (LOWORD(wParam)) {
    case IDOK:
      PressOk(dialog, *form);
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return TRUE;
    case IDC_HELP_BUTTON:
      OpenInBrowser(form->Run.Paths.HelpFile + "#usage", true);
      return TRUE;
    case IDC_ABOUT_BUTTON:
      AboutDialog(form->Run, dialog);
      return TRUE;
    case IDC_TEMPLATE_LIST:
      if (HIWORD(wParam) == CBN_SELCHANGE) {
        UpdateThumbnailsField(dialog, *form);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int SettingsDialog(RunState& run, HWND owner) {
  SettingsForm form{run, {}};
  const INT_PTR result =
      ShowDialog(IDD_SETTINGS_FORM, owner, &SettingsProc, reinterpret_cast<LPARAM>(&form));
  // The dialog is gone: messages go to its owner again, never to a dead window.
  run.Owner = owner;
  return result == 1 ? 1 : 0;
}
