// The toolkit's floor for the start-up benchmark: the least a Qt Widgets program does to show a window of
// the calculator's size. bench/startup.sh measures it beside build/corvalen.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Corvalen start-up floor"));
    // The calculator's outer size; here it is the client area, which is a few pixels larger than the
    // calculator's client area once the window manager adds its frame.
    window.resize(522, 498);
    window.show();
    return application.exec();
}
