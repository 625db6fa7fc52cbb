#pragma once

#include "Ref.h"

#include <string>

// A file type the program knows by name. Converting it to text registers it
// with the framework and gives its Name; changing a field or releasing the
// object withdraws the registration.
class FileType {
  public:
    FileType() = default;
    ~FileType();
    FileType(const FileType&) = delete;
    FileType& operator=(const FileType&) = delete;

    const std::string& Name() const { return name_; }
    const std::string& Extensions() const { return extensions_; }
    void setName(const std::string& value);
    void setExtensions(const std::string& value); // ";"-joined, each with its dot
    void setMacType(const std::string& value);
    void setMacCreator(const std::string& value);

    // Registers the type and returns its Name.
    std::string toString();

  private:
    void unregister();
    void change(std::string& field, const std::string& value);
    std::string name_, extensions_, macType_, macCreator_;
};

namespace FileTypes {

// The name of the registered type one of whose extensions ends fileName
// (letter case ignored); empty when none does.
std::string typeOfFileName(const std::string& fileName);
// The extensions of the registered types named in a ";"-joined list.
std::string extensionsOf(const std::string& typeNames);

} // namespace FileTypes
