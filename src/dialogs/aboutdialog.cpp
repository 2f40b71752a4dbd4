#include "dialogs/aboutdialog.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("About Marbletrellis"));
    setFixedSize(400, 300);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(15);
    layout->setContentsMargins(20, 20, 20, 20);

    auto *icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icon.png")).pixmap(QSize(64, 64)));
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);

    auto *name = new QLabel(tr("<h2>Marbletrellis</h2>"), this);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);

    auto *version = new QLabel(tr("Version %1").arg(QStringLiteral(MARBLETRELLIS_VERSION)), this);
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);

    layout->addSpacing(10);

    auto *credits = new QLabel(tr("This application uses the following open source components:"
                                  "<br><b>yyjson</b> - A high performance JSON library"
                                  "<br>Licensed under the MIT License"),
                               this);
    credits->setTextFormat(Qt::RichText);
    credits->setAlignment(Qt::AlignLeft);
    credits->setWordWrap(true);
    layout->addWidget(credits);

    layout->addStretch();

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 0, Qt::AlignCenter);
}

AboutDialog::~AboutDialog() = default;
