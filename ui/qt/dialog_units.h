#pragma once

class QWidget;

/// Lays out a form whose geometry numbers are dialog units, as the dialogs'
/// .ui files hold them: the dialog's own size and each direct child's rectangle
/// are converted to pixels by the dialog font's base units (x by a quarter of
/// the average character width, y by an eighth of the character height).
/// Children are siblings, as in a classic dialog: a group box frames, and
/// is put beneath the controls it frames; once laid out, those become its
/// children, keeping their place and the tab order. A combo box's height is
/// its drop-down list's, so the box itself takes its natural height.
/// No text is clipped at any font: where a label, button or group title needs
/// more room than its converted rectangle gives, the form is widened (or made
/// taller) at that control's edge, moving what lies beyond and stretching what
/// spans it, so columns and frames stay aligned.
/// The dialog fits the primary screen's free area: where even its smallest
/// size would not, its font is made smaller until it does.
/// Without `stretch` the dialog keeps its size. With it, the user may resize
/// the dialog: `stretch` (a log, a list) takes up the change, what lies below
/// it moves down and stays centred under it, what lies right of it moves
/// right; the dialog may shrink until `stretch` holds a few lines.
/// Call once, after setupUi and before the dialog is first shown.
void ApplyDialogUnits(QWidget& dialog, QWidget* stretch = nullptr);
