// The peers of the start-up benchmark: the smallest Qt program that shows a
// window of the bar's size, and with "--text-box" the same window holding
// one line edit, which loads the font database and the accessibility bridge
// before the window is mapped, as the bar's command box does.
#include <QApplication>
#include <QLineEdit>
#include <QWidget>

#include <cstring>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("minimal"));
    window.resize(108, 58);
    if (argc > 1 && std::strcmp(argv[1], "--text-box") == 0)
        (new QLineEdit(&window))->setGeometry(0, 36, 108, 22);
    window.show();
    return app.exec();
}
