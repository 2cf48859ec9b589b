#include "HelpWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "io/PathText.h"

HelpWindow::HelpWindow(const std::filesystem::path& page, QWidget* owner)
    : QDialog(owner, Qt::Window), browser(new QTextBrowser(this)) {
    setWindowTitle("RYX Creator Help");
    pageUrl = QUrl::fromLocalFile(QString::fromStdString(PathText(page)));
    browser->setOpenExternalLinks(true);  // web and mail links go to the desktop's handler
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    resize(720, 640);
}

void HelpWindow::ShowSection(const QString& section) {
    QUrl url = pageUrl;
    if (!section.isEmpty()) url.setFragment(section);
    browser->setSource(url);
    if (!section.isEmpty()) browser->scrollToAnchor(section);
    show();
    raise();
    activateWindow();
}
