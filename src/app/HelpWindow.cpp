#include "HelpWindow.h"
#include "Alert.h"
#include "FileExists.h"
#include "ProgramFolder.h"
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
const QString helpFileName = QStringLiteral("vantrel.hlp");
const QString contentsAnchor = QStringLiteral("contents");
}

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Vantrel Help"));
    browser = new QTextBrowser(this);
    browser->setObjectName(QStringLiteral("helpBrowser"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    resize(560, 620);
}

void HelpWindow::showContents()
{
    const QString path = ProgramFolder::file(helpFileName);
    if (!FileExists(path)) {
        Alert::show(QStringLiteral("The help file ") + helpFileName + QStringLiteral(" is missing."));
        return;
    }
    // The file has no .html suffix, so say what it holds.
    browser->setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
    browser->scrollToAnchor(contentsAnchor);
    show();
    raise();
    activateWindow();
}
