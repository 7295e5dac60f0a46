#include <QApplication>
#include <QDialog>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QDialog window;
    window.setWindowTitle("MARLO-Corvane:  Reset Database files ?");
    window.show();
    return app.exec();
}
