#include "platform/AppPaths.h"
#include "store/FastIniFile.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QWidget>

// A first window that proves the settings round trip; the launcher bar
// replaces it.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const std::string base = tramble::platform::SettingsBase(tramble::platform::ExecutablePath());
    tramble::TFastIniFile settings(base + ".ini");

    QString caption = QStringLiteral("Kuv 2.0");
    int run = 0;
    try {
        run = settings.ReadNumber("last", "run", 0) + 1;
        settings.WriteNumber("last", "run", run);
        settings.Flush();
    } catch (const tramble::EFileError& error) {
        caption += QStringLiteral(" Readonly");
        QMessageBox::warning(nullptr, QStringLiteral("Warning"), QString::fromUtf8(error.what()));
    }

    QWidget window;
    window.setWindowTitle(caption);
    window.setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Start number %1\n%2")
                                     .arg(run)
                                     .arg(QString::fromStdString(settings.FileName())),
                                 &window));
    window.resize(220, 60);
    window.show();
    return app.exec();
}
