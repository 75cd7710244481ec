// The search against grep: a data folder with 10,000 records of each kind,
// 2,000 text-note bodies of 20 KB (the other text notes with bodies of about
// 1 KB) and 10,000 fast-text files, and a word in 1 % of the records of
// every kind (in the bodies for text notes and fast texts). qmdb find and
// LC_ALL=C grep -rFic over the same folder, each run once untimed to warm the
// page cache, then in interleaved rounds; medians. Then a 1 MB body alone:
// the RTF-to-text reader and the whole match in-process, grep on it, and
// the word filter's pass over it.
//
//   SearchBenchmark QMDB FOLDER [ROUNDS]   (FOLDER is made when missing)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FindCommand.h"
#include "Search/RecordSearch.h"
#include "Search/RtfPlainText.h"
#include "Search/RtfWordFilter.h"
#include "Support/DataFolderWriter.h"

extern char** environ;

namespace {

constexpr int kRecordsPerKind = 10000;
constexpr int kLargeBodies = 2000;
constexpr const char* kWord = "quagga";
const char* const kVocabulary[] = {"meeting", "garden", "letter", "Monday", "r\xe9sum\xe9", "invoice", "coffee",
                                   "project", "holiday", "window", "Stra\xdf" "e", "tomorrow", "budget", "phone"};

// About size bytes of RTF as the rich edit writes a note: tables, then
// paragraphs with bold and italic runs and escaped accents.
std::string RtfBody(std::size_t size, int seed, bool withWord) {
  std::string body =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}"
      "{\\f1\\fswiss\\fcharset0 Arial;}}\r\n{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
      "{\\*\\generator Riched20 5.50.99.2014;}\\viewkind4\\uc1\\pard\\f0\\fs20 ";
  unsigned state = static_cast<unsigned>(seed) * 2654435761u + 1;
  int words = 0;
  while (body.size() < size) {
    state = state * 1103515245u + 12345u;
    std::string word = kVocabulary[(state >> 16) % (sizeof kVocabulary / sizeof kVocabulary[0])];
    for (std::size_t i = 0; i < word.size(); ++i) {
      if (static_cast<unsigned char>(word[i]) >= 0x80) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\'%02x", static_cast<unsigned char>(word[i]));
        word.replace(i, 1, hex);
        i += 3;
      }
    }
    if ((state >> 8) % 11 == 0) word = "{\\b " + word + "}";
    if ((state >> 9) % 13 == 0) word = "\\i " + word + "\\i0";
    body += word;
    body += ++words % 12 == 0 ? "\\par\r\n" : " ";
    if (withWord && words == 40) body += "the Quagga ";
  }
  return body + "\\par\r\n}\r\n";
}

std::string Number(int i) {
  return std::to_string(i);
}

void MakeDataFolder(const std::string& folder) {
  std::printf("making %s ...\n", folder.c_str());
  std::fflush(stdout);
  qmtest::DataFolderWriter writer(folder);
  for (int i = 0; i < kRecordsPerKind; ++i) {
    const bool hit = i % 100 == 0;
    const std::string n = Number(i);
    const std::string title = "Note " + n + " about the " + kVocabulary[i % 14];
    const std::string name = "TextNote" + n + ".doc";
    writer.WriteAttachment(RecordKind::TextNote, name, RtfBody(i < kLargeBodies ? 20 * 1024 : 1024, i, hit));
    writer.Add(RecordKind::TextNote, {{"title", title}, {"file_name", name}});
    writer.Add(RecordKind::AudioNote, {{"title", hit ? title + " quagga" : title}, {"file_name", "a.wav"}});
    writer.Add(RecordKind::VideoNote, {{"title", hit ? "Quagga " + title : title}, {"file_name", "v.avi"}});
    writer.Add(RecordKind::PhotoAlbum,
               {{"title", "Photo " + n}, {"comment", hit ? "a quagga in the zoo" : "the garden in May"}});
    writer.Add(RecordKind::TimeNotif, {{"title", "Call " + n}, {"text", hit ? "feed the QUAGGA" : "call the office"}});
    writer.Add(RecordKind::EmailRes, {{"name", "Person " + n},
                                      {"company", "Firm " + n},
                                      {"address", n + " Long Road"},
                                      {"city", "Springfield"},
                                      {"phone", "555-" + n},
                                      {"comment", hit ? "keeps a quagga" : "met at the fair"},
                                      {"email", "person" + n + "@example.org"}});
    writer.Add(RecordKind::InternetRes,
               {{"title", "Site " + n}, {"address", hit ? "http://quagga.example.org/" + n : "http://example.org/" + n}});
    const std::string snippet = "FastText" + n + ".fst";
    writer.WriteAttachment(RecordKind::FastText, snippet,
                           std::string("Kind regards,\r\nthe ") + (hit ? "quagga" : "garden") + " team " + n);
    writer.Add(RecordKind::FastText, {{"title", "Snippet " + n}, {"file_name", snippet}});
  }
  writer.Close();
  std::ofstream(folder + "complete") << "yes\n";
}

struct Timing {
  double wall = 0;  // seconds
  double cpu = 0;   // user + system seconds of the process: what the machine's load does not inflate
};

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

// One run of the program, its output thrown away.
Timing Run(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  Timing timing;
  if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) return timing;
  int status = 0;
  rusage usage = {};
  wait4(pid, &status, 0, &usage);
  timing.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  timing.cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
  posix_spawn_file_actions_destroy(&actions);
  return timing;
}

double ProcessCpuSeconds() {
  timespec now = {};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

template <class F>
double TimeSeconds(F&& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: SearchBenchmark QMDB FOLDER [ROUNDS]\n");
    return 2;
  }
  const std::string qmdb = argv[1];
  std::string folder = argv[2];
  if (folder.back() != '/') folder += '/';
  const int rounds = argc > 3 ? std::max(5, std::atoi(argv[3])) : 7;
  if (!std::filesystem::exists(folder + "complete")) {
    std::filesystem::remove_all(folder);
    MakeDataFolder(folder);
  }
  std::uintmax_t bytes = 0, files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      bytes += entry.file_size();
      ++files;
    }
  }
  std::printf("\nsearch: %d records of each kind, %d text-note bodies of 20 KB, \"%s\" in 1 %% of them;"
              " %ju files, %.1f MB\n",
              kRecordsPerKind, kLargeBodies, kWord, files, bytes / 1e6);

  const std::vector<std::string> find = {qmdb, "find", folder, kWord};
  const std::vector<std::string> grep = {"env", "LC_ALL=C", "grep", "-rFic", kWord, folder};
  Run(find);  // warm the page cache, untimed
  Run(grep);
  std::vector<double> findWall, grepWall, findCpu, grepCpu;
  for (int round = 0; round < rounds; ++round) {
    const Timing a = Run(find);
    const Timing b = Run(grep);
    findWall.push_back(a.wall);
    findCpu.push_back(a.cpu);
    grepWall.push_back(b.wall);
    grepCpu.push_back(b.cpu);
  }
  std::printf("  medians over %d interleaved rounds      wall        processor (user + system)\n", rounds);
  std::printf("  qmdb find (whole process)          %8.1f ms   %8.1f ms\n", Median(findWall) * 1e3,
              Median(findCpu) * 1e3);
  std::printf("  LC_ALL=C grep -rFic                %8.1f ms   %8.1f ms\n", Median(grepWall) * 1e3,
              Median(grepCpu) * 1e3);
  std::printf("  qmdb find / grep                   %8.2f x    %8.2f x\n", Median(findWall) / Median(grepWall),
              Median(findCpu) / Median(grepCpu));

  // The same search in-process (what the program's worker thread does).
  const SearchCodePage codePage = SearchCodePageOf(CodePage::Windows1252());
  const SearchQuery query(kWord, codePage);
  SearchScope scope;
  scope.dataFolder = folder;
  int hits = 0;
  std::vector<double> inProcess, inProcessCpu;
  for (int round = 0; round < rounds; ++round) {
    hits = 0;
    const double cpu = ProcessCpuSeconds();
    inProcess.push_back(TimeSeconds([&] { SearchRecords(scope, query, [&](const SearchHit&) { ++hits; }); }));
    inProcessCpu.push_back(ProcessCpuSeconds() - cpu);
  }
  std::printf("  search in-process                  %8.1f ms   %8.1f ms   (%d hits)\n", Median(inProcess) * 1e3,
              Median(inProcessCpu) * 1e3, hits);

  // One body of 1 MB.
  const std::string large = folder + "large-body.doc";
  const std::string body = RtfBody(1 << 20, 7, true);
  std::ofstream(large, std::ios::binary) << body;
  std::vector<double> readerTimes, readerCpu, grepOne, grepOneCpu, filterTimes;
  std::string text;
  // The word filter's whole pass: a word the body does not hold.
  const RtfWordFilter filter("zebra", codePage);
  for (int round = 0; round < rounds; ++round) {
    filterTimes.push_back(TimeSeconds([&] {
      if (filter.MayContain(body.data(), body.size())) std::printf("filter let the body through\n");
    }));
    const double cpu = ProcessCpuSeconds();
    readerTimes.push_back(TimeSeconds([&] {
      RtfToPlainText(body.data(), body.size(), codePage, text);
      std::string folded;
      FoldText(text.data(), text.size(), codePage, folded);
      if (folded.find(kWord) == std::string::npos) std::printf("word not found\n");
    }));
    readerCpu.push_back(ProcessCpuSeconds() - cpu);
    const Timing one = Run({"env", "LC_ALL=C", "grep", "-Fic", kWord, large});
    grepOne.push_back(one.wall);
    grepOneCpu.push_back(one.cpu);
  }
  std::printf("  1 MB body: RTF to text and match in-process %6.2f ms wall, %6.2f ms processor (%.0f MB/s);\n"
              "             grep -Fic on the file (whole process) %6.2f ms wall, %6.2f ms processor\n",
              Median(readerTimes) * 1e3, Median(readerCpu) * 1e3, body.size() / Median(readerCpu) / 1e6,
              Median(grepOne) * 1e3, Median(grepOneCpu) * 1e3);
  std::printf("             the word filter's pass for a word it does not hold %6.2f ms (%.0f MB/s)\n",
              Median(filterTimes) * 1e3, body.size() / Median(filterTimes) / 1e6);
  std::filesystem::remove(large);
  return 0;
}
