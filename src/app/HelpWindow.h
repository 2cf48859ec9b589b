#pragma once
// HelpWindow: the help pages shown in a window of the program, so F1 works on a machine
// without a web browser. Links inside the pages move within them; links to outside pages
// open the desktop's browser.

#include <QDialog>
#include <QUrl>
#include <filesystem>

class QTextBrowser;

class HelpWindow : public QDialog {
    Q_OBJECT

  public:
    HelpWindow(const std::filesystem::path& page, QWidget* owner);

    // Shows the page at `section` (an anchor; empty for the top) and raises the window.
    void ShowSection(const QString& section);
    QTextBrowser* Browser() const { return browser; }

  private:
    QTextBrowser* browser;
    QUrl pageUrl;
};
