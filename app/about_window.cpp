#include "app/about_window.h"

#include "app/controls.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace kestrin::app {

QString AboutWindow::mailAddress() { return QStringLiteral("wenlo53@example.com"); }

AboutWindow::AboutWindow(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("关于窗口"));
    setWindowTitle(QStringLiteral("关于..."));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setModal(false);
    setFixedSize(354, 152);

    QLabel* picture = addLabel(this, QStringLiteral("图片框1"), QString(), 24, 16, 50, 50);
    picture->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));

    addLabel(this, QStringLiteral("标签1"), QStringLiteral("Email: "), 96, 56, 40, 16);
    QLabel* link = addLabel(this, QStringLiteral("超链接框1"),
                            QStringLiteral("<a href=\"mailto:%1\">%1</a>").arg(mailAddress()), 135, 56, 200, 16);
    link->setTextFormat(Qt::RichText);
    link->setOpenExternalLinks(false);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(link, &QLabel::linkActivated, this, [this] { emit mailLinkClicked(mailAddress()); });

    QLabel* note = addLabel(this, QStringLiteral("标签2"),
                            QStringLiteral("软件原名“Pomaly助手”，现改名为“Kestrin字串替换器”。功能不断更新完善中，欢迎测试并提出建议。"),
                            48, 85, 280, 32);
    note->setWordWrap(true);

    QPushButton* ok = addButton(this, QStringLiteral("按钮1"), QStringLiteral("确定"), 139, 121, 75, 24);
    connect(ok, &QPushButton::clicked, this, &QDialog::close);
}

} // namespace kestrin::app
