#pragma once

// The steps of a save where a test looks in. A probe is told of each step
// before it is taken: it may make the step fail with an error code, as the
// system would, or throw to stop the save right there, as a crash would
// (nothing after it runs, nothing is cleaned up).
enum class WriteStep {
    UnnamedFile, // a new file without a name made (refused where the file system has none)
    Rename,      // the new file renamed over the old name
    FolderFlush, // a folder's names made durable, after each change of them
    Backup,      // the copy of the old bytes made beside the file, before an in-place write
    Reserve,     // room for the new bytes reserved
    Write,       // the new bytes written, into a new file or over the old ones
    Truncate,    // the file cut to the new length
    Flush,       // the file's bytes made durable
    Unbackup,    // the copy of the old bytes removed
};

class WriteProbe {
  public:
    virtual ~WriteProbe() = default;
    // 0 lets the step go on.
    virtual int before(WriteStep step) = 0;
};

// The probe's word on the step; 0 without a probe.
inline int probed(WriteProbe* probe, WriteStep step) {
    return probe ? probe->before(step) : 0;
}
