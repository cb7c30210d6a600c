#pragma once
#include <QString>
#include <functional>

// The one way the program shows a message box (OK only, titled "Vantrel").
// The windows install a real box; tests install a recorder. Without a
// handler the text goes to standard error.
class Alert {
public:
    using Handler = std::function<void(const QString &text)>;
    static void show(const QString &text);
    // Returns the handler it replaces.
    static Handler setHandler(Handler handler);
    // "Error  in  <procedure> (  <description>  )"
    static QString procedureError(const QString &procedure, const QString &description);
};
