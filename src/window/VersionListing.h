// The version display: lists the version data of an executable file in a log pane.
#pragma once

class QString;
class LogPane;

// Adds to memo the size of the file's version block and the texts of its string table 040904E4,
// or "No version information found" when the file has no block.
void ListVersionInformation(const QString& fileName, LogPane& memo);
