// Ids of the dialogs and their controls: one list for the code that drives the
// dialogs on Windows and for their resource script, made from the forms in
// this folder (korvalo_dialogs.rc), which includes it. The forms' names give
// the names: dialog SettingsForm is IDD_SETTINGS_FORM, its widget
// thumbnailsField IDC_THUMBNAILS_FIELD; group boxes are IDC_STATIC.
// Only #defines: the resource compiler reads this file too.
#pragma once

#define IDD_PROGRESS_FORM 101
#define IDD_SETTINGS_FORM 106
#define IDD_ABOUT_FORM 110

// The program's icon, at 16, 32, 48 and 256 pixels.
#define IDI_PROGRAM_ICON 107

// OK and Avbryt are IDOK and IDCANCEL in every dialog, so that Enter and
// Escape press them.
#define IDC_OK_BUTTON 1
#define IDC_CANCEL_BUTTON 2
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// The progress window. The hidden labels that name controls have no id.
#define IDC_LOG_LABEL IDC_STATIC
#define IDC_LOG 1000

// The settings dialog, and the help button of the About dialog too.
#define IDC_TEMPLATE_LABEL IDC_STATIC
#define IDC_TEMPLATE_LIST 1022
#define IDC_THUMBNAILS_LABEL IDC_STATIC
#define IDC_THUMBNAILS_FIELD 1027
#define IDC_RECORD_WHEN_MISSING_BUTTON 1008
#define IDC_RECORD_ALWAYS_BUTTON 1016
#define IDC_RECORD_NEVER_BUTTON 1017
#define IDC_INCLUDE_SUBFOLDERS_BOX 1018
#define IDC_OPEN_BROWSER_BOX 1019
#define IDC_HELP_BUTTON 9
#define IDC_ABOUT_BUTTON 10

// The About dialog.
#define IDC_ABOUT_TEXT 1030
#define IDC_PROGRAM_ICON IDC_STATIC
