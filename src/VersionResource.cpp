// The program's own version block. It is plain data in a section of its own, compiled only into
// the sorvell executable, where the version display finds it by reading the file.
#include "platform/VersionInfo.h"

namespace {

// Texts in code page 1252, the code page of the table: "\xA9" is the copyright sign.
constexpr VersionString kStrings[] = {
    {"CompanyName", "Velmar"},
    {"FileDescription", "Sorvell"},
    {"FileVersion", "1.0.4.9"},
    {"InternalName", ""},
    {"LegalCopyright", "Copyright \xA9 Velmar"},
    {"LegalTrademarks", ""},
    {"OriginalFilename", ""},
    {"ProductName", "Sorvell"},
    {"ProductVersion", "1.0.0.0"},
    {"Comments", ""},
};

// Dutch (0x0413), code page 1252: the string table is 041304E4.
constexpr VersionBlockContents kContents{{1, 0, 4, 9}, {1, 0, 4, 9}, 0x0413, 1252, kStrings};

// Nothing refers to the block; "used" keeps the compiler from dropping it and "retain" keeps
// the linker from collecting its section.
[[gnu::used, gnu::retain, gnu::section(".sorvell_version")]] constexpr auto kVersionBlock =
    VersionBlockBytes<SerialiseVersionBlock(kContents).size()>(kContents);

}  // namespace
