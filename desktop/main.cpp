#include "desktop/run.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Varnel"));
    return desktop::runVarnel();
}
