#include "Application.h"
#include "Startup.h"

// The arguments the framework leaves are files to open, as the desktop hands
// them over.
int main(int argc, char** argv) {
    return Application::RunProgram(argc, argv, Startup::run);
}
