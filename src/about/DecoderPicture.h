// The picture of the product in the About window, drawn at start rather than shipped as a file.
#pragma once

#include <QImage>

// A 128 x 96, 24-bit picture of a four-way accessory decoder board.
QImage DrawDecoderPicture();
