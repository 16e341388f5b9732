#pragma once

class QWidget;

/// Lays out a form whose geometry numbers are dialog units, as the dialogs'
/// .ui files hold them: the dialog's own size and each direct child's rectangle
/// are converted to pixels by the dialog font's base units (x by a quarter of
/// the average character width, y by an eighth of the character height).
/// Children are siblings, as in a classic dialog: a group box only frames, and
/// is put beneath the controls it frames. A combo box's height is its drop-down
/// list's, so the box itself takes its natural height.
/// No text is clipped at any font: where a label, button or group title needs
/// more room than its converted rectangle gives, the form is widened (or made
/// taller) at that control's edge, moving what lies beyond and stretching what
/// spans it, so columns and frames stay aligned.
/// Call once, after setupUi and before the dialog is first shown.
void ApplyDialogUnits(QWidget& dialog);
