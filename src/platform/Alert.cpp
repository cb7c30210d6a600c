#include "Alert.h"
#include <cstdio>

namespace {
Alert::Handler &currentHandler()
{
    static Alert::Handler handler;
    return handler;
}
}

void Alert::show(const QString &text)
{
    if (currentHandler())
        currentHandler()(text);
    else
        std::fprintf(stderr, "Vantrel: %s\n", qPrintable(text));
}

Alert::Handler Alert::setHandler(Handler handler)
{
    std::swap(handler, currentHandler());
    return handler;
}

QString Alert::procedureError(const QString &procedure, const QString &description)
{
    return QStringLiteral("Error  in  ") + procedure + QStringLiteral(" (  ") + description + QStringLiteral("  )");
}
