#include "AlertRecorder.h"

AlertRecorder::AlertRecorder()
{
    previous = Alert::setHandler([this](const QString &text) { texts << text; });
}

AlertRecorder::~AlertRecorder()
{
    Alert::setHandler(previous);
}
