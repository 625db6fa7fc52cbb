#pragma once

#include "BinaryStream.h"
#include "Ref.h"

#include <string>

// One length-prefixed byte string of a material file: the material name or a
// stored path. The bytes are raw; no text encoding is attached.
class mxmString {
  public:
    mxmString() = default;
    // Reads one string at the stream's position and leaves the stream just
    // after it. A stream that ends early gives a shorter string, never an
    // error. A nil stream raises NilObjectException.
    explicit mxmString(const Ref<BinaryStream>& stream);

    // The on-disk form: the shortest prefix for the current length, then the
    // bytes.
    std::string getMxmString() const;
    void setString(const std::string& value) { theString = value; }
    const std::string& getString() const { return theString; }

    std::string theString;
};
