#include "AboutBox.h"
#include "CloseKeys.h"
#include "SponsorPages.h"
#include <QCoreApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
AboutBox::UrlOpener &urlOpener()
{
    static AboutBox::UrlOpener opener = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    return opener;
}
}

AboutBox::AboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Vantrel"));
    CloseKeys::attach(this);
    setModal(false);

    QString version = QCoreApplication::applicationVersion();
    if (version.isEmpty())
        version = QStringLiteral("1.0");

    auto *name = new QLabel(QStringLiteral("Vantrel"));
    QFont nameFont = name->font();
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.6);
    nameFont.setBold(true);
    name->setFont(nameFont);
    auto *purpose = new QLabel(QStringLiteral("Blackjack strategy trainer"));
    auto *versionLine = new QLabel(QStringLiteral("Version ") + version);
    auto *credit = new QLabel(QStringLiteral("Written by the Vantrel developers"));

    const QString address(SponsorPages::aboutLink);
    lblLink = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped()));
    lblLink->setObjectName(QStringLiteral("lblLink"));
    lblLink->setTextFormat(Qt::RichText);
    lblLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    lblLink->setCursor(Qt::PointingHandCursor);
    connect(lblLink, &QLabel::linkActivated, this, &AboutBox::lblLink_Click);

    cmdOK = new QPushButton(QStringLiteral("OK"));
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);

    auto *button = new QHBoxLayout;
    button->addStretch();
    button->addWidget(cmdOK);
    auto *layout = new QVBoxLayout(this);
    for (QLabel *label : {name, purpose, versionLine, credit, lblLink}) {
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    layout->addSpacing(8);
    layout->addLayout(button);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutBox::lblLink_Click()
{
    RunShellExecute(QStringLiteral("open"), QString(SponsorPages::aboutLink), QStringLiteral("0"),
                    QStringLiteral("0"), 1);
}

void AboutBox::RunShellExecute(const QString &, const QString &file, const QString &, const QString &, int)
{
    urlOpener()(QUrl::fromUserInput(file));
}

AboutBox::UrlOpener AboutBox::setUrlOpener(UrlOpener opener)
{
    std::swap(opener, urlOpener());
    return opener;
}
