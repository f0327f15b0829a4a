#include "app/chelpviewer.h"

#include "app/resourcepaths.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QTextBrowser>
#include <QUrl>

CHelpViewer::CHelpViewer(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CHelpViewer"));
    resize(660, 500);
    setMinimumSize(660, 500);
    auto* gridLayout = new QGridLayout(this);
    gridLayout->setObjectName(QStringLiteral("gridLayout"));
    textBrowser = new QTextBrowser(this);
    textBrowser->setObjectName(QStringLiteral("textBrowser"));
    textBrowser->setMinimumSize(640, 480);
    gridLayout->addWidget(textBrowser, 0, 0);

    setWindowModality(Qt::NonModal);
    textBrowser->setSearchPaths(Vantar::dataFolders() << QStringLiteral(":/helpImages"));
    showMaximized();
}

void CHelpViewer::setHelpFile(const QString& strPage)
{
    setWindowTitle(tr("Vantar 4.0 Help"));
    textBrowser->setSource(QUrl(strPage));
}
