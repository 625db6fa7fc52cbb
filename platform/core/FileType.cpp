#include "FileType.h"

#include "Text.h"

#include <algorithm>
#include <vector>

namespace {

// The registered types in the order of their registration. The types are
// owned by their creators; a type leaves the list before it is destroyed.
// The list itself is never destroyed, so that types held in module-level
// variables can still leave it while the program exits.
std::vector<const FileType*>& registry() {
    static auto* types = new std::vector<const FileType*>;
    return *types;
}

bool endsWithIgnoringCase(const std::string& text, const std::string& ending) {
    return ending.size() <= text.size() &&
           StringEquals(text.substr(text.size() - ending.size()), ending);
}

bool hasExtensionOf(const FileType& type, const std::string& fileName) {
    for (const std::string& extension : Split(type.Extensions(), ";"))
        if (!extension.empty() && endsWithIgnoringCase(fileName, extension))
            return true;
    return false;
}

} // namespace

FileType::~FileType() {
    unregister();
}

void FileType::unregister() {
    auto& types = registry();
    types.erase(std::remove(types.begin(), types.end(), this), types.end());
}

// A changed field withdraws the registration until the next conversion to
// text registers the type as it then stands.
void FileType::change(std::string& field, const std::string& value) {
    if (value != field)
        unregister();
    field = value;
}

void FileType::setName(const std::string& value) {
    change(name_, value);
}

void FileType::setExtensions(const std::string& value) {
    change(extensions_, value);
}

void FileType::setMacType(const std::string& value) {
    change(macType_, value);
}

void FileType::setMacCreator(const std::string& value) {
    change(macCreator_, value);
}

std::string FileType::toString() {
    auto& types = registry();
    if (std::find(types.begin(), types.end(), this) == types.end())
        types.push_back(this);
    return name_;
}

namespace FileTypes {

std::string typeOfFileName(const std::string& fileName) {
    for (const FileType* type : registry())
        if (hasExtensionOf(*type, fileName))
            return type->Name();
    return {};
}

std::string extensionsOf(const std::string& typeNames) {
    std::string extensions;
    for (const std::string& name : Split(typeNames, ";")) {
        if (name.empty())
            continue;
        for (const FileType* type : registry()) {
            if (!StringEquals(type->Name(), name) || type->Extensions().empty())
                continue;
            if (!extensions.empty())
                extensions += ";";
            extensions += type->Extensions();
        }
    }
    return extensions;
}

} // namespace FileTypes
