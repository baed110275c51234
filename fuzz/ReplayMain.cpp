// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target's checks over saved inputs without libFuzzer, so the ordinary test suite
// (with or without the sanitizers) replays the corpus: every file named, and every file in every
// folder named.  A broken check aborts the program, naming the input it was working on.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool Replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::fprintf(stderr, "%s\n", file.c_str()); // the input a failed check belongs to
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    std::size_t replayed = 0;
    for (int a = 1; a < argc; ++a) {
        const std::filesystem::path path = argv[a];
        std::error_code error;
        std::vector<std::filesystem::path> files;
        if (std::filesystem::is_directory(path, error)) {
            for (const auto& entry : std::filesystem::directory_iterator(path, error))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
        } else {
            files.push_back(path);
        }
        if (error) {
            std::fprintf(stderr, "cannot list %s: %s\n", path.c_str(), error.message().c_str());
            return 1;
        }
        for (const auto& file : files) {
            if (!Replay(file))
                return 1;
            ++replayed;
        }
    }
    if (replayed == 0) {
        std::fprintf(stderr, "no inputs found\n");
        return 1; // an empty corpus would make the test pass without checking anything
    }
    std::printf("%zu inputs replayed\n", replayed);
    return 0;
}
