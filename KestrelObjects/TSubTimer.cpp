#include "TSubTimer.h"

TSubTimer::TSubTimer(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Display = [this](const QString& text) { setText(text); };
}
