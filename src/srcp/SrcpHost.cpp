#include "srcp/SrcpHost.h"

namespace {

SrcpHost& Host() {
  static SrcpHost host;
  return host;
}

}  // namespace

void SetSrcpHost(const SrcpHost& host) {
  Host() = host;
}

const SrcpHost& CurrentSrcpHost() {
  return Host();
}
