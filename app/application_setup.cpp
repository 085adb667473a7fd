#include "app/application_setup.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace kestrin::app {

void setUpApplication(QApplication& application) {
    application.setQuitOnLastWindowClosed(false);
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
