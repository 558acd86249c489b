// Runs a fuzz target without libFuzzer, as one test of the ordinary build:
// first every file of the seed corpus (the inputs that once found a fault are
// kept there), then a fixed number of pseudo-random inputs from a fixed seed,
// so a run is the same on every machine and a failure can be repeated.
//
//   driver <corpus dir> [random inputs] [longest input]
#include <dirent.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::string> corpus_files(const std::string& dir) {
    std::vector<std::string> files;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name.empty() || name[0] == '.') continue;
            files.push_back(dir + "/" + name);
        }
        ::closedir(d);
    }
    std::sort(files.begin(), files.end());
    return files;
}

struct Rng {
    std::uint64_t s;
    std::uint64_t next() {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    }
};

// Bytes that open or continue the structures the targets parse (escape
// sequences, digits and separators, letters and name punctuation, the keys
// of the menus); half the bytes come from here, the rest are uniform.
constexpr char INTERESTING[] = "\x1b\x1b[[O;;0123456789~^$@<?MABCDFHPQRSZabcd \r\n\b\x7f\x03\x00-._:JjNnYy12345";

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <corpus dir> [random inputs] [longest input]\n", argv[0]);
        return 2;
    }
    const long runs = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1000;
    const long longest = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 256;

    const auto files = corpus_files(argv[1]);
    for (const auto& f : files) {
        std::ifstream in(f, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }

    Rng rng{0x5eed2026c0ffeeULL};
    std::vector<std::uint8_t> buf;
    for (long r = 0; r < runs; ++r) {
        const std::size_t n = static_cast<std::size_t>(rng.next() % static_cast<std::uint64_t>(longest + 1));
        buf.resize(n);
        for (auto& b : buf) {
            const std::uint64_t v = rng.next();
            b = (v & 1) ? static_cast<std::uint8_t>(INTERESTING[(v >> 8) % (sizeof INTERESTING - 1)])
                        : static_cast<std::uint8_t>(v >> 16);
        }
        LLVMFuzzerTestOneInput(buf.data(), buf.size());
    }
    std::printf("%zu corpus inputs and %ld random inputs: no property failed\n", files.size(), runs);
    return 0;
}
