#include "ProcessResources.h"

#include <malloc.h>

#include <QDir>

#include "support/ResidentMemory.h"

namespace {

int EntriesIn(const char* directory) {
  return static_cast<int>(QDir(QString::fromLatin1(directory))
                              .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
                              .size());
}

}  // namespace

ProcessResources ProcessResources::Now() {
  ::malloc_trim(0);
  ProcessResources now;
  // Listing the directory opens one descriptor of its own, counted in both snapshots alike.
  now.fileDescriptors = EntriesIn("/proc/self/fd");
  now.threads = EntriesIn("/proc/self/task");
  now.residentKiB = ResidentKiB();
  return now;
}
