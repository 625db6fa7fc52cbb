#pragma once

#include "FileIdentity.h"

#include <cerrno>
#include <optional>
#include <string>

// How a save ended: written (with the file's identity as written, for the
// next save to expect), not written because the file changed since it was
// read, or failed with the system's error code.
class WriteResult {
  public:
    enum class Outcome { Written, Changed, Failed };

    static WriteResult written(const std::optional<FileIdentity>& identity) {
        return WriteResult(Outcome::Written, 0, identity);
    }
    static WriteResult changed() { return WriteResult(Outcome::Changed, 0, std::nullopt); }
    // An error code of 0 counts as EIO: a failure always has a reason. The
    // identity is the file's when the new content stands all the same (only
    // its last flush failed), so that the next save may expect it.
    static WriteResult failed(int error,
                              const std::optional<FileIdentity>& identity = std::nullopt) {
        return WriteResult(Outcome::Failed, error != 0 ? error : EIO, identity);
    }

    Outcome outcome() const { return outcome_; }
    bool ok() const { return outcome_ == Outcome::Written; }
    // The errno value of the call that failed; 0 unless failed.
    int error() const { return error_; }
    // The system's text for a failure ("No space left on device"), why a
    // changed file was not written, empty when written.
    std::string reason() const;
    const std::optional<FileIdentity>& identity() const { return identity_; }

  private:
    WriteResult(Outcome outcome, int error, const std::optional<FileIdentity>& identity)
        : outcome_(outcome), error_(error), identity_(identity) {}

    Outcome outcome_;
    int error_;
    std::optional<FileIdentity> identity_;
};
