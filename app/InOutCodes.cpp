// SPDX-License-Identifier: GPL-3.0-or-later
#include "InOutCodes.h"

#include <cerrno>

namespace zk {

int InOutCode(const FileAccessError& error) {
    switch (error.ErrorNumber()) {
    case ENOENT: // the folder of the name does not exist
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return 3;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return 5;
    case EMFILE:
    case ENFILE:
        return 4;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return 101;
    case EBUSY:
    case ETXTBSY:
    case EAGAIN:
        return 32; // in use by another program
    case EIO:
        return error.FailedStage() == FileAccessError::Stage::Write ? 29 : 30; // write / read fault
    default:
        return error.ErrorNumber();
    }
}

} // namespace zk
