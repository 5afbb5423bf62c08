// The built-in 15 x 15 indicator glyphs: a round lamp in five colours and a bulb, each lit and
// unlit, drawn on a transparent background.
#pragma once

#include <QPixmap>

#include "serialwidgets/LedTypes.h"

inline constexpr int kLedGlyphSize = 15;

// The glyph of a kind in a state; lkCustom has none (a null pixmap).
QPixmap LedGlyph(LedKind kind, LedState state);
