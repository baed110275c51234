// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>

#include "BatchTool.h"

int main(int argc, char** argv) { return zk::RunBatch(argc, argv, std::cout, std::cerr); }
