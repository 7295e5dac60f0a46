// The reference for start-up time and memory: the least a Qt 6 Widgets
// program with one dialog does.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle("Minimal dialog");
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel("A minimal Qt 6 dialog.", &dialog));
    layout->addWidget(new QPushButton("OK", &dialog));
    dialog.show();
    return app.exec();
}
