// uninstall: removes what setup installed in a destination folder, after asking once.
#include "setup/install.h"

#include <QApplication>
#include <QMessageBox>

#include <iostream>

int main(int argc, char** argv) {
    bool silent = false;
    std::string destination;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-silent")
            silent = true;
        else
            destination = a;
    }
    if (destination.empty()) {
        std::cerr << "usage: uninstall [-silent] DESTINATION\n";
        return 2;
    }
    if (!silent) {
        QApplication app(argc, argv);
        if (QMessageBox::question(nullptr, QStringLiteral("Uninstall"),
                                  QStringLiteral("Do you really want to remove the program in %1?")
                                      .arg(QString::fromStdString(destination))) !=
            QMessageBox::Yes)
            return 1;
    }
    std::string error;
    if (!setup::Uninstall(destination, error)) {
        std::cerr << error << "\n";
        return 1;
    }
    return 0;
}
