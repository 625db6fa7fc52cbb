#include "Startup.h"

#include <QApplication>

#include <string>
#include <vector>

int main(int argc, char** argv) {
    QApplication framework(argc, argv);
    // What the framework leaves of the arguments are files to open, as the
    // desktop hands them over.
    const std::vector<std::string> documents(argv + 1, argv + argc);
    return Startup::run(documents);
}
