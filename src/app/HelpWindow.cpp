#include "HelpWindow.h"
#include "Alert.h"
#include "CloseKeys.h"
#include "ProgramFolder.h"
#include "TextFileReader.h"
#include <QFileInfo>
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
    CloseKeys::attach(this);
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
    const TextFileReader::Result help = TextFileReader::read(path);
    if (!help.problem.isEmpty() && QFileInfo::exists(path)) {
        Alert::show(QStringLiteral("The help file %1 cannot be read (%2).").arg(helpFileName, help.problem));
        return;
    }
    if (help.text.isEmpty()) {
        Alert::show(QStringLiteral("The help file ") + helpFileName + QStringLiteral(" is missing."));
        return;
    }
    browser->setHtml(help.text);
    browser->scrollToAnchor(contentsAnchor);
    show();
    raise();
    activateWindow();
}
