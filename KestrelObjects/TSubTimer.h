#pragma once

#include "TStopwatch.h"

#include <QLabel>

// A status panel that shows the time its stopwatch has measured. The caption changes only in
// UpdateDisplay; before the first one the panel is blank.
class TSubTimer : public QLabel, public TStopwatch {
    Q_OBJECT
public:
    explicit TSubTimer(QWidget* parent = nullptr);
};
