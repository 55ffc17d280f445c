// tellurix-bench-photos FOLDER [COUNT] [SEED] [real]: the photo set of the capture-time
// benchmark; with "real" the JFIF files hold plain entropy-like data instead of data that the
// scan must read to its end.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchPhotos.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tellurix-bench-photos FOLDER [COUNT] [SEED] [real]\n");
    return 64;
  }
  const int count = argc > 2 ? std::atoi(argv[2]) : 1000;
  const auto seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1ULL;
  const bool real = argc > 4 && std::string(argv[4]) == "real";
  const int withExif = tellurix::bench::writeBenchPhotos(argv[1], count, seed, real);
  std::printf("%d photos, %d with Exif, %d JFIF without (%s)\n", count, withExif, count - withExif,
              real ? "entropy-like data" : "read to the end");
  return 0;
}
