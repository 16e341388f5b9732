#pragma once

// A form in English: the texts of a Swedish form replaced by the catalog's.

#include "tools/ui2rc/form.h"
#include "tools/ui2rc/xml.h"

/// `form` with its title and its controls' texts in English. Throws
/// std::runtime_error naming every text of the form document `ui` (its
/// title, texts, group titles, tool tips and accessible names and
/// descriptions) that the catalog has no English for, so a text missing in
/// one language fails the build.
Form InEnglish(const Form& form, const XmlElement& ui);
