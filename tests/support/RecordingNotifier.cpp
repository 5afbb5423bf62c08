#include "support/RecordingNotifier.h"

RecordingNotifier& Notifications() {
  static RecordingNotifier recorder;
  return recorder;
}
