// Edit menu: Settings.

#include "app/mainwindow.h"

#include "dialogs/settingsdialog.h"
#include "document/jsondocument.h"
#include "model/jsontreemodel.h"

#include <QTreeView>

void MainWindow::onSettings()
{
    SettingsDialog dialog(m_model->maxTextLength(), m_model->prettyPrint(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_model->setMaxTextLength(dialog.maxTextLength());
    m_model->setPrettyPrint(dialog.prettyPrint());
    writeSettings();
    // Save would write the document anew, in the output format just chosen.
    m_model->document()->markModified();
    // The model emits the new length for the top-level rows only; every
    // row below them is repainted too, so none goes on showing the old cut.
    m_treeView->viewport()->update();
}
