// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The batch tool: opens a saved case as the main window would right after start-up, runs Apply
// and prints the result labels and the solution as `key: value` lines; optionally writes the
// diagram as a BMP file and the log of its drawing operations.
#include <ostream>

namespace zk {

// Exit status 0 on success, 1 when Apply faults, 2 for a usage error or an unreadable file.
int RunBatch(int argc, char** argv, std::ostream& out, std::ostream& err);

} // namespace zk
