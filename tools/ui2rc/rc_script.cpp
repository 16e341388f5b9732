#include "tools/ui2rc/rc_script.h"

#include <cctype>
#include <stdexcept>

namespace {

bool Has(std::string_view flags, std::string_view flag) {
  return flags.find(flag) != std::string_view::npos;
}

std::string Numbers(const Rect& rect) {
  return std::to_string(rect.X) + ", " + std::to_string(rect.Y) + ", " +
         std::to_string(rect.Width) + ", " + std::to_string(rect.Height);
}

std::string Join(const std::vector<std::string_view>& styles) {
  std::string joined;
  for (const std::string_view style : styles) {
    joined += (joined.empty() ? "" : " | ") + std::string(style);
  }
  return joined;
}

// How a Qt control is written: its statement, whether a text comes first, and
// the styles beyond the statement's own.
struct ControlKind {
  std::string_view Keyword;
  bool WithText = true;
  std::vector<std::string_view> Styles;
};

ControlKind KindOf(const FormControl& control) {
  const std::string& qtClass = control.Class;
  if (qtClass == "QPushButton") {
    return {control.Default ? "DEFPUSHBUTTON" : "PUSHBUTTON", true, {}};
  }
  if (qtClass == "QRadioButton") {
    return {"AUTORADIOBUTTON", true, {}};
  }
  if (qtClass == "QCheckBox") {
    return {"AUTOCHECKBOX", true, {}};
  }
  if (qtClass == "QGroupBox") {
    return {"GROUPBOX", true, {}};
  }
  if (qtClass == "QLabel") {
    const std::string_view keyword = Has(control.Alignment, "AlignHCenter") ? "CTEXT"
                                     : Has(control.Alignment, "AlignRight") ? "RTEXT"
                                                                            : "LTEXT";
    return {keyword, true,
            control.PlainText ? std::vector<std::string_view>{"SS_NOPREFIX"}
                              : std::vector<std::string_view>{}};
  }
  if (qtClass == "QLineEdit") {
    return {"EDITTEXT", false, {"ES_AUTOHSCROLL"}};
  }
  if (qtClass == "QComboBox") {
    // The form's height is the drop-down list's, as Windows takes it.
    return {"COMBOBOX", false, {"CBS_DROPDOWNLIST", "WS_VSCROLL", "WS_TABSTOP"}};
  }
  if (qtClass == "QPlainTextEdit") {
    // Lines are never wrapped, and Enter belongs to the dialog, not to a new line.
    return {"EDITTEXT",
            false,
            {"ES_MULTILINE", "ES_AUTOVSCROLL", "ES_AUTOHSCROLL", "WS_VSCROLL", "WS_HSCROLL"}};
  }
  throw std::runtime_error(control.Name + ": no Windows control for a " + qtClass);
}

// The statement of one control. Windows groups radio buttons from a control
// with WS_GROUP to the next: `startsGroup` marks the first of a run of radio
// buttons and the first control after one. The first radio button starts as
// the group's tab stop; checking a button moves the tab stop to it, so Tab
// reaches the checked one, as in Qt.
std::string ControlStatement(const FormControl& control, bool startsGroup) {
  const bool group = control.Class == "QGroupBox";
  const std::string id = group ? "IDC_STATIC" : ResourceSymbol("IDC_", control.Name);
  if (control.Class == "QLabel" && control.Text.empty()) {
    // A label without text shows a picture the program puts there, as in the
    // Qt dialog: the program's icon in the About dialog.
    return "    CONTROL \"\", " + id + ", \"Static\", SS_ICON | SS_CENTERIMAGE" +
           (startsGroup ? " | WS_GROUP" : "") + ", " + Numbers(control.Geometry) + "\n";
  }
  ControlKind kind = KindOf(control);
  if (control.Class == "QRadioButton") {
    kind.Styles.push_back(startsGroup ? "WS_GROUP | WS_TABSTOP" : "NOT WS_TABSTOP");
  } else if (startsGroup || (control.Class == "QLabel" && !control.Text.empty())) {
    // A text label starts a group, so the arrow keys stop at it.
    kind.Styles.push_back("WS_GROUP");
  }
  if (control.Hidden) {
    // A hidden label still names the control after it for screen readers.
    kind.Styles.push_back("NOT WS_VISIBLE");
  }
  std::string line = "    " + std::string(kind.Keyword) + " ";
  if (kind.WithText) {
    line += RcString(control.Text) + ", ";
  }
  line += id + ", " + Numbers(control.Geometry);
  return line + (kind.Styles.empty() ? "" : ", " + Join(kind.Styles)) + "\n";
}

}  // namespace

std::string ResourceSymbol(std::string_view prefix, std::string_view name) {
  std::string symbol(prefix);
  for (std::size_t i = 0; i < name.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (i > 0 && std::isupper(c) && !std::isupper(static_cast<unsigned char>(name[i - 1]))) {
      symbol += '_';
    }
    symbol += static_cast<char>(std::toupper(c));
  }
  return symbol;
}

std::string RcString(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        quoted += "\"\"";
        break;
      case '\\':
        quoted += "\\\\";
        break;
      case '\n':
        quoted += "\\n";
        break;
      case '\t':
        quoted += "\\t";
        break;
      case '\r':
        break;  // from a form saved with Windows line ends; its lines end with "\n"
      default:
        quoted += c;
    }
  }
  return quoted + "\"";
}

std::string DialogScript(const Form& form) {
  std::string script = ResourceSymbol("IDD_", form.Name) + " DIALOGEX " + Numbers(form.Geometry) +
                       "\n"
                       "STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU\n"
                       "CAPTION " +
                       RcString(form.Title) +
                       "\n"
                       "FONT 8, \"MS Shell Dlg\"\n"
                       "BEGIN\n";
  bool afterRadio = false;
  for (const FormControl& control : form.Controls) {
    const bool radio = control.Class == "QRadioButton";
    script += ControlStatement(control, radio != afterRadio);
    afterRadio = radio;
  }
  return script + "END\n";
}

std::string StringTableScript(const std::vector<std::pair<int, std::string>>& texts) {
  std::string script = "STRINGTABLE\nBEGIN\n";
  for (const auto& [id, text] : texts) {
    script += "    " + std::to_string(id) + ", " + RcString(text) + "\n";
  }
  return script + "END\n";
}
