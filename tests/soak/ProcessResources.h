// What the process holds, as the kernel counts it: open file descriptors, threads and resident
// memory. A run that leaks leaves more of them behind.
#pragma once

struct ProcessResources {
  int fileDescriptors = 0;
  int threads = 0;
  long residentKiB = 0;

  // Resident memory is read after freed heap has been handed back, so it tracks what is live.
  static ProcessResources Now();
};
