#include "app/application_setup.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QStyle>
#include <QStyleFactory>

namespace kestrin::app {

void setUpApplication(QApplication& application) {
    application.setQuitOnLastWindowClosed(false);
    // The classic style draws group boxes with the caption in the frame line,
    // which the fixed control places are made for.
    if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows"))) application.setStyle(classic);
    QFont font = application.font();
    const QStringList families = QFontDatabase::families();
    for (const char* family : {"WenQuanYi Micro Hei", "Microsoft YaHei", "SimSun", "Noto Sans CJK SC"}) {
        if (families.contains(QString::fromUtf8(family))) {
            font.setFamily(QString::fromUtf8(family));
            break;
        }
    }
    font.setPixelSize(12);
    application.setFont(font);
}

} // namespace kestrin::app
