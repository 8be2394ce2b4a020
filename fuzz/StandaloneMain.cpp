// A plain main() for the fuzz targets, for fuzzers that run a program on one
// file at a time (AFL++: `afl-fuzz -i seeds -o out -- ./dxf_fuzzer @@`) and
// for replaying findings without libFuzzer. Each argument is a file, or a
// directory whose files are replayed; with no argument the input is stdin.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Run(const std::vector<char>& bytes)
{
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

bool RunFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "cannot read " << path << '\n';
        return false;
    }
    Run(std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        Run(std::vector<char>(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()));
        return 0;
    }
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        std::error_code error;
        if (!std::filesystem::is_directory(path, error)) {
            ok = RunFile(path) && ok;
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(path, error))
            if (entry.is_regular_file(error))
                ok = RunFile(entry.path()) && ok;
    }
    return ok ? 0 : 1;
}
