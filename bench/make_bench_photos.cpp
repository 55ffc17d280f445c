// tellurix-bench-photos FOLDER [COUNT] [SEED]: the photo set of the capture-time benchmark.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchPhotos.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tellurix-bench-photos FOLDER [COUNT] [SEED]\n");
    return 64;
  }
  const int count = argc > 2 ? std::atoi(argv[2]) : 1000;
  const auto seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1ULL;
  const int withExif = tellurix::bench::writeBenchPhotos(argv[1], count, seed);
  std::printf("%d photos, %d with Exif, %d JFIF without\n", count, withExif, count - withExif);
  return 0;
}
