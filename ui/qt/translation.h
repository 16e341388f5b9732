#pragma once

#include <QString>

class QWidget;

/// The catalog's text `id` in the texts' language.
QString Translated(int id);

/// Puts the English of the catalog on the form `form` (made by setupUi from a
/// Swedish form) and on its controls, where the texts' language is English:
/// titles, texts, tool tips and accessible names and descriptions.
void TranslateForm(QWidget* form);
