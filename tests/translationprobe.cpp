// Starts the way the program does, in the language its environment asks for,
// and prints the first texts a user meets instead of running: one line per
// menu, then the window, the Settings and the About dialog, each as
// "name: text|text|...". tst_translations runs it under different languages;
// it lies beside the program so that it finds the same translations folder.

#include "app/mainwindow.h"
#include "app/startup.h"
#include "dialogs/aboutdialog.h"
#include "dialogs/settingsdialog.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTextStream>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTranslator translator;
    setUpApplication(translator);

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    const auto print = [&out](const char *name, const QStringList &texts) {
        out << name << ": " << texts.join(QLatin1Char('|')) << '\n';
    };

    MainWindow window;
    for (QAction *menu : window.menuBar()->actions()) {
        QStringList texts {menu->text()};
        for (QAction *item : menu->menu()->actions())
            if (!item->isSeparator())
                texts << item->text();
        print("menu", texts);
    }
    const auto *model = window.findChild<QAbstractItemModel *>();
    print("window",
          {window.windowTitle(), window.statusBar()->findChild<QLabel *>()->text(),
           model->headerData(0, Qt::Horizontal).toString(),
           model->headerData(1, Qt::Horizontal).toString()});

    SettingsDialog settings(0, true);
    const auto *buttons = settings.findChild<QDialogButtonBox *>();
    print("settings",
          {settings.windowTitle(), settings.findChild<QSpinBox *>()->text(),
           buttons->button(QDialogButtonBox::Ok)->text(),
           buttons->button(QDialogButtonBox::Cancel)->text()});

    AboutDialog about;
    print("about", {about.windowTitle()});
    return 0;
}
