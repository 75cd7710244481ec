// What the picture layer adds to decoding a camera-sized photo: a
// 12-megapixel JPEG (4000 x 3000, made here with libjpeg's encoder from a
// photo-like pattern, PhotoLikeJpeg.h) decoded
// through CPicture and, in the same run, by libjpeg-turbo alone into the
// same B, G, R, A rows. The ratio of the two is printed at the end.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "Graphics/CPicture.h"
#include "Graphics/PictureFormat.h"
#include "PhotoLikeJpeg.h"

namespace {

constexpr int kWidth = 4000, kHeight = 3000;

const std::vector<unsigned char>& PhotoJpeg() {
  static const std::vector<unsigned char> jpeg = PhotoLikeJpeg(kWidth, kHeight);
  return jpeg;
}

void BM_DecodeThroughPictureLayer(benchmark::State& state) {
  const std::vector<unsigned char>& jpeg = PhotoJpeg();
  for (auto _ : state) {
    CPicture picture;
    if (!picture.Decode(jpeg.data(), jpeg.size(), kFormatJpeg)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(picture.PixelAt(kWidth - 1, kHeight - 1));
  }
  state.counters["MB"] = static_cast<double>(jpeg.size()) / 1e6;
}
BENCHMARK(BM_DecodeThroughPictureLayer)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_DecodeWithLibjpegTurboAlone(benchmark::State& state) {
  const std::vector<unsigned char>& jpeg = PhotoJpeg();
  for (auto _ : state) {
    jpeg_decompress_struct info;
    jpeg_error_mgr error;
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), jpeg.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    std::vector<unsigned char> pixels(static_cast<std::size_t>(info.output_width) * info.output_height * 4);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = &pixels[static_cast<std::size_t>(info.output_scanline) * info.output_width * 4];
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels.back());
  }
}
BENCHMARK(BM_DecodeWithLibjpegTurboAlone)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// Remembers each benchmark's time per iteration for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.iterations > 0) times[run.benchmark_name()] = run.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // CPU time of the benchmark whose name starts with prefix (CPU time, since
  // the machine may be shared while it runs); 0 when none ran.
  double TimeOf(const std::string& prefix) const {
    for (const auto& entry : times) {
      if (entry.first.compare(0, prefix.size(), prefix) == 0) return entry.second;
    }
    return 0;
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double layer = reporter.TimeOf("BM_DecodeThroughPictureLayer");
  const double alone = reporter.TimeOf("BM_DecodeWithLibjpegTurboAlone");
  if (layer > 0 && alone > 0) {
    std::printf("12-megapixel JPEG (%zu bytes), CPU time: picture layer %.1f ms, libjpeg-turbo alone %.1f ms, ratio %.3f\n",
                PhotoJpeg().size(), layer, alone, layer / alone);
  }
  benchmark::Shutdown();
  return 0;
}
