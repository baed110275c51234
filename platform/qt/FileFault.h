// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes the operating system refuse one kind of file operation of the file layer, so that every
// way a save, an export or an opening can fail (a protected file, a full disk, a failing disk or
// rename) can be tried on any machine and by any user, the superuser included, who may write
// where others may not.  The program itself never installs one.
#include <array>

namespace zk {

// The operating system calls of the file layer, by what they do.
enum class FileOperation {
    OpenForReading, // opening an existing file to read it
    Read,           // reading its bytes
    Create,         // creating the new file beside the one that is replaced
    Write,          // writing the new bytes
    Sync,           // putting them on the disk
    Close,          // closing the new file
    Rename,         // putting the new file in the place of the old one
};

class FileFault {
  public:
    // While it lives, every operation of that kind fails with the error number errorNumber
    // (EACCES, ENOSPC, EIO, ...), as if the system had returned it.
    FileFault(FileOperation operation, int errorNumber);
    ~FileFault();
    FileFault(const FileFault&) = delete;
    FileFault& operator=(const FileFault&) = delete;

    // The error number the operation is to fail with; 0 when it is to run.
    static int ErrorFor(FileOperation operation);

  private:
    FileOperation operation_;
    int previous_;
};

} // namespace zk
