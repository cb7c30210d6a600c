#pragma once
#include <QWidget>

class QTextBrowser;

// The help file vantrel.hlp (rich-text HTML beside the program) in a
// browser window of its own. The table keeps one instance and reuses it.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // "&Contents": shows the file from its contents section. A missing or
    // empty file, or one that cannot be read (not a regular file, larger
    // than 1 MB), is reported and no window is shown.
    void showContents();

private:
    QTextBrowser *browser = nullptr;
};
