#pragma once

#include <QColor>

class QWidget;
class TFancyButton;

// The look of the game's own dialogs: dark green grounds, yellow and green texts, gradient
// buttons with a green frame.
inline const QColor DialogGreen(0, 100, 0);

// Gives a widget a background and a text colour of its own.
void Colour(QWidget* w, const QColor& background, const QColor& text);
// A 114 x 34 gradient button in "Georgia" 27 pixels bold, green on green, at (x, 4).
TFancyButton* GreenDialogButton(QWidget* parent, int x);
