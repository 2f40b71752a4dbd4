// Help menu: About.

#include "app/mainwindow.h"

#include "dialogs/aboutdialog.h"

void MainWindow::onAbout()
{
    AboutDialog dialog(this);
    dialog.exec();
}
