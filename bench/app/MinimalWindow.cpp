// The peer of the start-up benchmark: the smallest Qt program that shows a
// window of the bar's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.resize(108, 58);
    window.show();
    return app.exec();
}
