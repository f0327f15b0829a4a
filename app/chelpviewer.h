#pragma once

#include <QWidget>

class QTextBrowser;

//! Window that shows the help page of the current language.
class CHelpViewer : public QWidget
{
    Q_OBJECT

public:
    explicit CHelpViewer(QWidget* parent = nullptr);

    //! Shows the page, found through the application folder and the built-in help images.
    void setHelpFile(const QString& strPage);
    QTextBrowser* browser() const { return textBrowser; }

private:
    QTextBrowser* textBrowser = nullptr;
};
