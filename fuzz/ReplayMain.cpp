// The stand-alone driver of a fuzz target: runs LLVMFuzzerTestOneInput once
// over every file named on the command line, and over every file beneath
// every folder named there, in name order. It is linked instead of libFuzzer
// in the ordinary builds, so that the tests replay the checked-in corpora
// with the same compiler and sanitizers as the rest of the suite.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> inputsOf(const fs::path& named)
{
    std::vector<fs::path> inputs;
    if (fs::is_directory(named)) {
        for (auto& entry : fs::recursive_directory_iterator(named))
            if (entry.is_regular_file())
                inputs.push_back(entry.path());
        std::sort(inputs.begin(), inputs.end());
    } else {
        inputs.push_back(named);
    }
    return inputs;
}

} // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    size_t count = 0;
    for (int index = 1; index < argc; ++index) {
        for (auto& input : inputsOf(argv[index])) {
            std::ifstream file(input, std::ios::binary);
            if (!file) {
                std::fprintf(stderr, "cannot read %s\n", input.c_str());
                return 1;
            }
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            // An empty vector's data() may be null; the fuzzer never hands over a null pointer.
            static const uint8_t none = 0;
            LLVMFuzzerTestOneInput(bytes.empty() ? &none : bytes.data(), bytes.size());
            ++count;
        }
    }
    std::printf("replayed %zu inputs\n", count);
    return count ? 0 : 1;
}
