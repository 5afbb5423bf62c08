#include "window/DecoderModel.h"

namespace DecoderModel {

QString ModeCaption(int modeNumber) {
  for (const Mode& mode : kModes)
    if (mode.number == modeNumber) return QCoreApplication::translate("DecoderModel", mode.caption);
  return {};
}

}  // namespace DecoderModel
