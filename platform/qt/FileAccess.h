// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file reading and safe replacing of files, with the operating system's error number kept
// so the caller can tell a missing folder from a protected file.  Replacing writes a temporary
// file beside the target and renames it over the target only when every byte is on disk, so a
// failed save never leaves a truncated file or destroys the previous one.
#include <QString>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zk {

class FileAccessError : public std::runtime_error {
  public:
    enum class Stage {
        Open,  // the file could not be opened or created
        Read,  // reading failed after opening
        Write, // writing, flushing or committing the new contents failed
    };
    FileAccessError(Stage stage, int errorNumber, const QString& fileName);

    Stage FailedStage() const { return stage_; }
    int ErrorNumber() const { return errorNumber_; } // errno

  private:
    Stage stage_;
    int errorNumber_;
};

// All bytes of a file.
std::string ReadFileBytes(const QString& fileName);

// Replaces the contents of fileName (creating it if needed) with bytes, or leaves it untouched.
// A read-only existing file fails to open with EACCES.  A symbolic link is followed and its target
// replaced, or created when it does not exist yet; the link stays.
void ReplaceFileContents(const QString& fileName, std::string_view bytes);

} // namespace zk
