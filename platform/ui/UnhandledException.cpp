#include "UnhandledException.h"

#include "Alerts.h"
#include "Exceptions.h"

#include <cstdlib>
#include <cxxabi.h>
#include <memory>
#include <string>
#include <typeinfo>

namespace {

std::string className(const std::exception& error) {
    const char* mangled = typeid(error).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> readable(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return status == 0 && readable ? readable.get() : mangled;
}

} // namespace

void UnhandledException::report(const std::exception& error) {
    // What went wrong with a file is no fault of the program: its own words
    // say it, without the text meant for programming errors.
    if (dynamic_cast<const FileException*>(&error) != nullptr) {
        MsgBox(error.what());
        return;
    }
    MsgBox("An exception of class " + className(error) +
           " was not handled. The application goes on.\n\n" + error.what());
}

void UnhandledException::reportUnknown() {
    MsgBox("An exception of an unknown class was not handled. The application goes on.");
}
