#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("TESSRA - [Untitled]");
    window.resize(817, 545);
    window.show();
    return app.exec();
}
