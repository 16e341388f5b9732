#pragma once

class QWidget;

/// Lays out a form whose geometry numbers are dialog units, as the dialogs'
/// .ui files hold them: the dialog's own size and each direct child's rectangle
/// are converted to pixels by the dialog font's base units (x by a quarter of
/// the average character width, y by an eighth of the character height).
/// Children are siblings, as in a classic dialog: a group box only frames.
/// Call once, after setupUi and before the dialog is first shown.
void ApplyDialogUnits(QWidget& dialog);
