// Edit menu: Settings.

#include "app/mainwindow.h"

#include "dialogs/settingsdialog.h"
#include "model/jsontreemodel.h"

#include <QTreeView>

void MainWindow::onSettings()
{
    SettingsDialog dialog(model->maxTextLength(), model->prettyPrint(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    model->setMaxTextLength(dialog.maxTextLength());
    model->setPrettyPrint(dialog.prettyPrint());
    writeSettings();
    // The model announces the new length for the top-level rows only; every
    // row below them is repainted too, so none goes on showing the old cut.
    treeView->viewport()->update();
}
