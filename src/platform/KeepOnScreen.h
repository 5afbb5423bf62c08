// A window is opened where the user left it, or where it was designed to open, but the screens
// may have changed since: a monitor removed, another resolution or scale. Whatever was asked,
// the whole window opens on a screen that is there now.
#pragma once

#include <QList>
#include <QRect>

class QPoint;
class QWidget;

// Where a window wanted at `wanted` goes, given the parts of the screens that windows may use
// (`available`, one per screen, `primary` the index of the primary one): on the screen that
// has most of it, or the nearest one when none has any of it, moved as little as keeps it whole
// on that screen, and made smaller only where it is larger than the screen. Without screens it
// stays where it was wanted.
QRect PlaceOnScreens(const QRect& wanted, const QList<QRect>& available, int primary);

// Puts the top-level window's frame at `topLeft`, or as near to it as the screens of this desktop
// allow.
void KeepOnScreen(QWidget& window, const QPoint& topLeft);

// Keeps the top-level window whole on a screen from now on: where it is, or as near as the screens
// allow, each time it is shown, and once more when a window manager has put its frame round it,
// which it does only after the window is on the screen (a title bar would otherwise push the
// bottom of a window as high as a small screen off it). A window the user moves stays where the
// user put it.
void KeepWholeOnScreen(QWidget& window);
