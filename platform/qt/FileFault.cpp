// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileFault.h"

namespace zk {

namespace {
std::array<int, 7> g_faults{}; // error number by FileOperation; 0: none
} // namespace

FileFault::FileFault(FileOperation operation, int errorNumber)
    : operation_(operation), previous_(g_faults[static_cast<int>(operation)]) {
    g_faults[static_cast<int>(operation)] = errorNumber;
}

FileFault::~FileFault() {
    g_faults[static_cast<int>(operation_)] = previous_;
}

int FileFault::ErrorFor(FileOperation operation) {
    return g_faults[static_cast<int>(operation)];
}

} // namespace zk
