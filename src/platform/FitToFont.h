// Windows laid out in fixed pixels for the desktop font they were designed with. With a larger
// desktop font their captions would be cut off, so such a window grows as a whole: every
// position and size is scaled by the one factor that lets the widest-pressed caption show whole.
#pragma once

class QString;
class QWidget;

// The name of a dynamic property: a label whose text changes at run time names the widest text
// it will show, so that room is made for that one.
inline constexpr char kWidestTextProperty[] = "widestText";

// Scales window (its fixed size, and the geometry of every widget placed in it by hand) when a
// caption does not fit; returns the factor, 1 when everything fits as designed.
double FitToFont(QWidget& window);

// What a caption needs, in pixels of its own font: its text without the mnemonic marks.
int CaptionWidth(const QWidget& widget, const QString& text);
