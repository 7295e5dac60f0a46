#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("MARLO-Corvane: Import / Export Memory Database Files 1.0");
    window.show();
    return app.exec();
}
