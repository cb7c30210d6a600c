#pragma once
#include "Alert.h"
#include <QStringList>

// Records every message box shown while it lives, instead of showing it.
class AlertRecorder {
public:
    AlertRecorder();
    ~AlertRecorder();
    QStringList texts;

private:
    Alert::Handler previous;
};
