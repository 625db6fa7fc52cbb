#pragma once

#include <stdexcept>
#include <string>

// The root of every error the framework raises, so that one handler can
// name any of them.
class RuntimeException : public std::runtime_error {
  public:
    explicit RuntimeException(const std::string& message) : std::runtime_error(message) {}
};

// Raised when a nil object is used.
class NilObjectException : public RuntimeException {
  public:
    NilObjectException() : RuntimeException("A nil object was used.") {}
    explicit NilObjectException(const std::string& message) : RuntimeException(message) {}
};

// Raised when an index lies outside an array or a list.
class OutOfBoundsException : public RuntimeException {
  public:
    explicit OutOfBoundsException(const std::string& message = "An index was out of bounds.")
        : RuntimeException(message) {}
};

// Raised on purpose about one file, with a message that tells the user all
// there is to know; it is shown as it stands, not as a fault of the program.
class FileException : public RuntimeException {
  public:
    explicit FileException(const std::string& message) : RuntimeException(message) {}
};

// Raised when a file's content cannot be what it claims to be (a damaged file).
class DamagedFileException : public FileException {
  public:
    explicit DamagedFileException(const std::string& message) : FileException(message) {}
};
