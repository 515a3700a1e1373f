#include "app/InterfaceClasses.h"
#include "platform/ui/ApplicationMain.h"

int main(int argc, char** argv) {
    kessa::registerInterfaceClasses();
    return ui::ApplicationMain(argc, argv);
}
