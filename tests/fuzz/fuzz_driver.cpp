// Runs a fuzz target without libFuzzer: seed inputs from the corpus folder given on the
// command line, then bounded rounds of random and mutated inputs from a fixed seed, so that
// every run is repeatable. Sanitizers report what the target does wrong.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::vector<std::uint8_t>> LoadCorpus(const char* folder) {
    std::vector<std::vector<std::uint8_t>> seeds;
    std::error_code ec;
    if (!folder || !std::filesystem::is_directory(folder, ec)) return seeds;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return seeds;
}

}  // namespace

int main(int argc, char** argv) {
    auto seeds = LoadCorpus(argc > 1 ? argv[1] : nullptr);
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 20000;
    std::mt19937 rng(20261206);
    for (const auto& seed : seeds)
        LLVMFuzzerTestOneInput(seed.data(), seed.size());
    std::vector<std::uint8_t> input;
    for (int round = 0; round < rounds; ++round) {
        if (!seeds.empty() && round % 2 == 0) {
            input = seeds[rng() % seeds.size()];
            int edits = 1 + static_cast<int>(rng() % 8);
            for (int e = 0; e < edits; ++e) {
                switch (rng() % 4) {
                    case 0:
                        if (!input.empty())
                            input[rng() % input.size()] = static_cast<std::uint8_t>(rng());
                        break;
                    case 1:
                        input.insert(input.begin() + (input.empty() ? 0 : rng() % input.size()),
                                     static_cast<std::uint8_t>(rng()));
                        break;
                    case 2:
                        if (!input.empty()) input.erase(input.begin() + rng() % input.size());
                        break;
                    default: input.resize(rng() % (input.size() + 64));
                }
            }
        } else {
            input.resize(rng() % 2048);
            for (auto& b : input)
                b = static_cast<std::uint8_t>(rng());
        }
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::cout << "fuzz: " << seeds.size() << " seeds, " << rounds << " rounds, no fault\n";
    return 0;
}
