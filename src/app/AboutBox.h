#pragma once
#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;
class QPushButton;

// frmAbout: name, version, credit and a link. It also hands web addresses
// to the desktop for the whole program (RunShellExecute).
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);

    using UrlOpener = std::function<void(const QUrl &)>;
    // Opens `file` (a web address) in the user's browser. Only the address
    // matters on this desktop; whatever the desktop answers is ignored.
    static void RunShellExecute(const QString &verb, const QString &file, const QString &params,
                                const QString &directory, int showCmd);
    // Tests capture the addresses instead of starting a browser. Returns the
    // opener it replaces.
    static UrlOpener setUrlOpener(UrlOpener opener);

private:
    void lblLink_Click();

    QLabel *lblLink = nullptr;
    QPushButton *cmdOK = nullptr;
};
