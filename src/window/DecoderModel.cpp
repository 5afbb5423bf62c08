#include "window/DecoderModel.h"

namespace DecoderModel {

QString ModeCaption(int modeNumber) {
  for (const Mode& mode : kModes)
    if (mode.number == modeNumber) return QString::fromUtf8(mode.caption);
  return {};
}

}  // namespace DecoderModel
