#include "app/mainform.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Picmetra"));
    QApplication::setOrganizationName(QStringLiteral("Tervalo"));

    pm::AppConfig config;
    config.arguments = app.arguments().mid(1);
    pm::TMainForm form(config);
    form.show();
    return app.exec();
}
