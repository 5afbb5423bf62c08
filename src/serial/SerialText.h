// The serial layer's texts in the user's language: looked up in the message catalogue of the
// text domain "cport"; without a catalogue the English text itself.
#pragma once

#include <QString>

// Translates text; the first call binds the domain to the catalogue directory.
QString SerialText(const char* text);

// Where the catalogues of a program in executableDir are: locale/ beside it when that exists
// (the build tree), else ../share/locale when that exists (an installed program), else
// locale/ beside it, where nothing is found and the English texts show.
QString CatalogueDirectory(const QString& executableDir);
