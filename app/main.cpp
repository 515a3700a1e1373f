#include "app/InterfaceClasses.h"
#include "sim/ApplicationMain.h"

int main(int argc, char** argv) {
    kessa::registerInterfaceClasses();
    return ui::ApplicationMain(argc, argv);
}
