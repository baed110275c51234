// SPDX-License-Identifier: GPL-3.0-or-later
// The comparison table of a result file's case as the desktop's comparison window gives it, for
// the page's tests to hold the page's copy and download against:
//   zk_comparison_table [--decimal-separator S] [--csv] CASE.psr
// prints the tab-separated text (the clipboard's) or, with --csv, the CSV file's bytes with their
// byte-order mark.  The case is opened and applied as the desktop opens a file.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "ApplyListener.h"
#include "ComparisonText.h"
#include "Errors.h"
#include "LargestWedgeCache.h"
#include "ResultFile.h"
#include "Solver.h"

int main(int argc, char** argv) {
    std::string separator = ".";
    bool csv = false;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--decimal-separator" && i + 1 < argc)
            separator = argv[++i];
        else if (arg == "--csv")
            csv = true;
        else
            file = arg;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << file << "\n";
        return 2;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const zk::ResultFileValues values = zk::ReadResultFile(bytes);
    zk::FlowState flow;
    flow.SoundSpeed = values.SoundSpeed;
    flow.Gamma = values.Gamma;
    bool faulted = false;
    try {
        zk::ApplyListener quiet;
        zk::Apply(flow, zk::ApplyInputs{values.WedgeField, values.V1, '.'}, quiet);
    } catch (const zk::AppError&) {
        faulted = true;
    }
    zk::LargestWedgeCache cache;
    const zk::ComparisonText text = faulted ? zk::ComparisonText::AfterFault(flow, separator)
                                            : zk::ComparisonText::Compared(
                                                  flow, zk::CompareWithExactTheory(flow, cache), separator);
    std::cout << (csv ? "\xEF\xBB\xBF" + text.TableCsv() : text.TableText());
    return 0;
}
