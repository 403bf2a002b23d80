// A second floor for bench/startup.sh: the empty window of empty_window.cpp with one line of Chinese text
// in the Song-style face the calculator uses. Beside the empty window it shows what drawing Chinese text
// at all costs (the font database, a CJK font, the text shaper), which the calculator cannot avoid.
#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Corvalen start-up floor with text"));
    window.resize(522, 498);
    QLabel label(QStringLiteral("卧式椭圆封头储罐的容积"), &window);
    QFont font(QStringLiteral("Noto Serif CJK SC"));
    font.setPixelSize(16);
    label.setFont(font);
    label.move(20, 20);
    window.show();
    return application.exec();
}
