#include "ui/start_up.h"
#include "ui/window_definition.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    return ui::startUp(ui::mainWindowDefinition());
}
