#include "shell/title_block.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QStyle>

#include "shell/msgbox.h"
#include "shell/ui_units.h"

QString VersionText() {
    return QStringLiteral("Version %1.%2.%3")
        .arg(RN_VERSION_MAJOR)
        .arg(RN_VERSION_MINOR)
        .arg(RN_VERSION_PATCH);
}

namespace {

QLabel* AddLabel(QWidget* window, const char* name, const QString& text) {
    auto* label = new QLabel(text, window);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

}  // namespace

QLabel* BuildTitleBlock(QWidget* window, const char* titleName) {
    FixClientTwips(window, 5310, 2205);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, BgrColor(0x00E0E0E0));
    window->setPalette(palette);
    window->setAutoFillBackground(true);

    auto* icon = AddLabel(window, "imgLogo", {});
    icon->setPixmap(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
    PlaceTwips(icon, 360, 360, 480, 480);

    QLabel* title = AddLabel(window, titleName, AppTitle);
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setPointSizeF(21.75);
    titleFont.setBold(true);
    titleFont.setItalic(true);
    title->setFont(titleFont);
    QPalette titlePalette = title->palette();
    titlePalette.setColor(QPalette::WindowText, BgrColor(0x00008000));
    title->setPalette(titlePalette);
    PlaceTwips(title, 1200, 240, 3900, 600);

    QLabel* version = AddLabel(window, "lblVersion", VersionText());
    QFont versionFont(QStringLiteral("Times New Roman"));
    versionFont.setPointSizeF(12);
    version->setFont(versionFont);
    PlaceTwips(version, 1200, 840, 3900, 330);

    PlaceTwips(
        AddLabel(window, "lblDescription", QStringLiteral("Colour-data and maintenance tool")),
        1200, 1200, 3900, 240);
    PlaceTwips(AddLabel(window, "lblCompany", QStringLiteral("for ribbon thermal photo printers")),
               1200, 1440, 3900, 240);
    return title;
}
