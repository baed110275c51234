// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The input/output error codes of the result file for the operating system's file errors: a
// folder that does not exist is an invalid file name (3), a protected file or folder is access
// denied (5), a full disk is 101, a file locked by another program 32.
#include "FileAccess.h"

namespace zk {

int InOutCode(const FileAccessError& error);

} // namespace zk
