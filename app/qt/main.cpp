// The program's entry: the window is created hidden, the resources are read, and only then is
// the window shown and the event loop run.
#include "app/Startup.h"
#include "app/qt/MainWindow.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VORK"));
    vork::MainWindow window;
    std::string error;
    if (!vork::initEditor(window.editor(), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    window.show();
    return QApplication::exec();
}
