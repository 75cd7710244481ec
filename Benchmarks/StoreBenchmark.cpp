// The store against SQLite, side by side in one run: the same text-note
// records added one at a time (SQLite: one transaction per insert,
// synchronous=OFF, both journal modes; each record as one BLOB, and as a
// program using SQLite would store it, one column per field), walked with
// every record read and decoded (SQLite: SELECT *), and added again into the
// space that deleting every second record freed. Rounds interleave the three systems; each
// figure is the median of the rounds. Then `qmdb check` over a file with a
// region of zeros between its records against a check of a clean file of the
// same size. Figures only, no assertions.
//
//   StoreBenchmark [rounds] [counts...]            (default: 5 rounds, 10000 100000)
//   StoreBenchmark syscalls add|walk|re-add <count>  (one phase only, for strace)
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "DatabaseCheck.h"
#include "Records/DatabaseObject.h"
#include "Records/MessageBoxSeam.h"
#include "Records/RecordText.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "StoreBenchmark: %s\n", what.c_str());
  std::exit(1);
}

// The record every system stores: a text note as the editor fills it.
DatabaseDataTextNote Note(int index) {
  DatabaseDataTextNote note{};
  CopyRecordText(note.date, "09:05:03 12/02/2003");
  CopyRecordText(note.title, ("Benchmark note " + std::to_string(index)).c_str());
  note.noteType = index % 2;
  CopyRecordText(note.fileName, ("TextNote" + std::to_string(index) + ".doc").c_str());
  return note;
}

// One system under test: each phase runs on the file the phases before left.
class System {
 public:
  virtual ~System() = default;
  virtual const char* Name() const = 0;
  virtual void Reset() = 0;  // an empty database
  virtual void Add(int first, int count) = 0;
  virtual int Walk() = 0;  // records read
  virtual void DeleteEverySecond() = 0;
};

class QuillmateStore : public System {
 public:
  explicit QuillmateStore(fs::path path) : m_path(std::move(path)) {}
  const char* Name() const override { return "Quillmate store"; }

  void Reset() override {
    fs::remove(m_path);
    m_addresses.clear();
  }

  void Add(int first, int count) override {
    auto store = Open();
    for (int i = first; i < first + count; ++i) {
      store->Data() = Note(i);
      const std::uint32_t address = store->AddRecord();
      if (address == 0) Fail("AddRecord failed");
      m_addresses.push_back(address);
    }
    CloseStore(store);
  }

  int Walk() override {
    auto store = Open();
    int read = 0;
    std::uint32_t checksum = 0;
    store->ForEachRecordOf([&](const DatabaseDataTextNote& note, std::uint32_t) {
      ++read;
      checksum += static_cast<unsigned char>(note.title[15]);
    });
    CloseStore(store);
    m_sink += checksum;
    return read;
  }

  void DeleteEverySecond() override {
    auto store = Open();
    std::vector<std::uint32_t> kept;
    for (std::size_t i = 0; i < m_addresses.size(); ++i) {
      if (i % 2 == 0) {
        kept.push_back(m_addresses[i]);
        continue;
      }
      store->ReadRecord(m_addresses[i]);
      if (store->DeleteRecord() == 0) Fail("DeleteRecord failed");
    }
    CloseStore(store);
    m_addresses = kept;
  }

 private:
  StorePointer<DatabaseDataTextNote> Open() {
    auto store = OpenStore<DatabaseDataTextNote>(m_path.string());
    if (!store) Fail("cannot open " + m_path.string());
    return store;
  }

  fs::path m_path;
  std::vector<std::uint32_t> m_addresses;
  std::uint32_t m_sink = 0;
};

// How SQLite holds a note: the record image as one BLOB, or one column per
// field (date, title, note_type, file_name).
enum class Schema { Blob, Columns };

class Sqlite : public System {
 public:
  Sqlite(fs::path path, bool wal, Schema schema) : m_path(std::move(path)), m_wal(wal), m_schema(schema) {}
  ~Sqlite() override { Close(); }
  const char* Name() const override {
    if (m_schema == Schema::Blob) return m_wal ? "SQLite blob, WAL" : "SQLite blob, rollback";
    return m_wal ? "SQLite columns, WAL" : "SQLite columns, rollback";
  }

  void Reset() override {
    Close();
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) fs::remove(m_path.string() + suffix);
    if (sqlite3_open(m_path.string().c_str(), &m_db) != SQLITE_OK) Fail("sqlite3_open failed");
    Execute(m_wal ? "PRAGMA journal_mode=WAL" : "PRAGMA journal_mode=DELETE");
    Execute("PRAGMA synchronous=OFF");
    Execute(m_schema == Schema::Blob
                ? "CREATE TABLE notes(id INTEGER PRIMARY KEY, record BLOB NOT NULL)"
                : "CREATE TABLE notes(id INTEGER PRIMARY KEY, date TEXT, title TEXT, note_type INTEGER, "
                  "file_name TEXT)");
    m_ids.clear();
  }

  void Add(int first, int count) override {
    sqlite3_stmt* insert = Prepare(m_schema == Schema::Blob
                                       ? "INSERT INTO notes(record) VALUES(?1)"
                                       : "INSERT INTO notes(date, title, note_type, file_name) VALUES(?1, ?2, ?3, ?4)");
    for (int i = first; i < first + count; ++i) {
      const DatabaseDataTextNote note = Note(i);
      if (m_schema == Schema::Blob) {
        sqlite3_bind_blob(insert, 1, &note, sizeof note, SQLITE_TRANSIENT);
      } else {
        sqlite3_bind_text(insert, 1, note.date, -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, note.title, -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 3, note.noteType);
        sqlite3_bind_text(insert, 4, note.fileName, -1, SQLITE_TRANSIENT);
      }
      if (sqlite3_step(insert) != SQLITE_DONE) Fail(sqlite3_errmsg(m_db));
      sqlite3_reset(insert);
      m_ids.push_back(sqlite3_last_insert_rowid(m_db));
    }
    sqlite3_finalize(insert);
  }

  int Walk() override {
    sqlite3_stmt* select = Prepare("SELECT * FROM notes");
    DatabaseDataTextNote note;
    int read = 0;
    std::uint32_t checksum = 0;
    while (sqlite3_step(select) == SQLITE_ROW) {
      // The same work as the store's walk: the record decoded into a buffer.
      if (m_schema == Schema::Blob) {
        const int bytes = sqlite3_column_bytes(select, 1);
        std::memcpy(&note, sqlite3_column_blob(select, 1), std::min<std::size_t>(bytes, sizeof note));
      } else {
        note = DatabaseDataTextNote{};
        CopyRecordText(note.date, reinterpret_cast<const char*>(sqlite3_column_text(select, 1)));
        CopyRecordText(note.title, reinterpret_cast<const char*>(sqlite3_column_text(select, 2)));
        note.noteType = sqlite3_column_int(select, 3);
        CopyRecordText(note.fileName, reinterpret_cast<const char*>(sqlite3_column_text(select, 4)));
      }
      checksum += static_cast<unsigned char>(note.title[15]);
      ++read;
    }
    sqlite3_finalize(select);
    m_sink += checksum;
    return read;
  }

  void DeleteEverySecond() override {
    sqlite3_stmt* remove = Prepare("DELETE FROM notes WHERE id = ?1");
    std::vector<sqlite3_int64> kept;
    for (std::size_t i = 0; i < m_ids.size(); ++i) {
      if (i % 2 == 0) {
        kept.push_back(m_ids[i]);
        continue;
      }
      sqlite3_bind_int64(remove, 1, m_ids[i]);
      if (sqlite3_step(remove) != SQLITE_DONE) Fail(sqlite3_errmsg(m_db));
      sqlite3_reset(remove);
    }
    sqlite3_finalize(remove);
    m_ids = kept;
  }

 private:
  void Close() {
    if (m_db) sqlite3_close(m_db);
    m_db = nullptr;
  }
  void Execute(const char* sql) {
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail(sqlite3_errmsg(m_db));
  }
  sqlite3_stmt* Prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK) Fail(sqlite3_errmsg(m_db));
    return statement;
  }

  fs::path m_path;
  bool m_wal;
  Schema m_schema;
  sqlite3* m_db = nullptr;
  std::vector<sqlite3_int64> m_ids;
  std::uint32_t m_sink = 0;
};

const char* const kPhases[] = {"add", "walk", "re-add"};

// Records per second of each phase of each system, median over the rounds.
void CompareStores(const fs::path& folder, int count, int rounds) {
  QuillmateStore store(folder / "TextNotes.qmt");
  Sqlite blobRollback(folder / "blob-rollback.db", false, Schema::Blob);
  Sqlite blobWal(folder / "blob-wal.db", true, Schema::Blob);
  Sqlite columnsRollback(folder / "columns-rollback.db", false, Schema::Columns);
  Sqlite columnsWal(folder / "columns-wal.db", true, Schema::Columns);
  std::vector<System*> systems = {&store, &blobRollback, &blobWal, &columnsRollback, &columnsWal};
  std::map<System*, std::vector<double>> times[3];
  for (int round = 0; round < rounds; ++round) {
    // Interleaved, and each round starts with another system.
    for (std::size_t k = 0; k < systems.size(); ++k) {
      System* system = systems[(k + static_cast<std::size_t>(round)) % systems.size()];
      system->Reset();
      Clock::time_point start = Clock::now();
      system->Add(0, count);
      times[0][system].push_back(SecondsSince(start));
      start = Clock::now();
      if (system->Walk() != count) Fail(std::string(system->Name()) + ": walk read a wrong count");
      times[1][system].push_back(SecondsSince(start));
      system->DeleteEverySecond();
      start = Clock::now();
      system->Add(count, count / 2);
      times[2][system].push_back(SecondsSince(start));
      if (system->Walk() != count) Fail(std::string(system->Name()) + ": walk after re-add read a wrong count");
    }
  }
  std::printf("\n%d text notes, median of %d interleaved rounds: records per second, and the store's\n"
              "throughput as a multiple of each (higher is better)\n",
              count, rounds);
  std::printf("%-8s %12s", "phase", "store");
  for (std::size_t k = 1; k < systems.size(); ++k) std::printf(" %30s", systems[k]->Name());
  std::printf("\n");
  for (int phase = 0; phase < 3; ++phase) {
    const double records = phase == 2 ? count / 2 : count;
    const double ours = records / Median(times[phase][&store]);
    std::printf("%-8s %12.0f", kPhases[phase], ours);
    for (std::size_t k = 1; k < systems.size(); ++k) {
      const double theirs = records / Median(times[phase][systems[k]]);
      std::printf(" %15.0f (store %5.2fx)", theirs, ours / theirs);
    }
    std::printf("\n");
  }
  for (const char* name : {"blob-rollback.db", "blob-wal.db", "columns-rollback.db", "columns-wal.db"})
    for (const char* suffix : {"", "-journal", "-wal", "-shm"}) fs::remove(folder / (std::string(name) + suffix));
  fs::remove(folder / "TextNotes.qmt");
}

// A file of count notes made through the store, and its bytes.
std::vector<char> NoteFile(const fs::path& path, int count) {
  fs::remove(path);
  QuillmateStore store(path);
  store.Add(0, count);
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PutWord(std::vector<char>& bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

double CheckSeconds(const fs::path& path, int expectedResult) {
  std::ostringstream report;
  const Clock::time_point start = Clock::now();
  const int result = CheckDatabaseFile(path.string(), report);
  const double seconds = SecondsSince(start);
  if (result != expectedResult) Fail("qmdb check gave " + std::to_string(result) + ":\n" + report.str());
  return seconds;
}

// qmdb check over zeros between records against a clean file of the same size.
void CompareDamageScan(const fs::path& folder, std::uint32_t zeroBytes, int rounds) {
  const std::uint32_t blockLength = 805;
  const fs::path cleanPath = folder / "clean.qmt";
  const fs::path damagedPath = folder / "damaged.qmt";
  const int cleanCount = static_cast<int>(zeroBytes / blockLength) + 20;
  const std::vector<char> clean = NoteFile(cleanPath, cleanCount);
  // Ten records, the zeros, ten records: the header's end_of_file spans it all.
  std::vector<char> damaged(clean.begin(), clean.begin() + 40 + 10 * blockLength);
  damaged.resize(damaged.size() + zeroBytes, 0);
  damaged.insert(damaged.end(), clean.begin() + 40, clean.begin() + 40 + 10 * blockLength);
  PutWord(damaged, 4, static_cast<std::uint32_t>(damaged.size()));
  PutWord(damaged, 12, static_cast<std::uint32_t>(damaged.size() - blockLength));
  {
    std::ofstream out(damagedPath, std::ios::binary);
    out.write(damaged.data(), static_cast<std::streamsize>(damaged.size()));
  }
  std::vector<double> cleanTimes, damagedTimes, walkTimes;
  QuillmateStore store(cleanPath);
  for (int round = 0; round < rounds; ++round) {
    cleanTimes.push_back(CheckSeconds(cleanPath, kCheckClean));
    damagedTimes.push_back(CheckSeconds(damagedPath, kCheckDamaged));
    const Clock::time_point start = Clock::now();
    if (store.Walk() != cleanCount) Fail("walk of the clean file read a wrong count");
    walkTimes.push_back(SecondsSince(start));
  }
  const double mib = 1024.0 * 1024.0;
  const double cleanRate = static_cast<double>(clean.size()) / Median(cleanTimes) / mib;
  const double walkRate = static_cast<double>(clean.size()) / Median(walkTimes) / mib;
  const double zeroRate = zeroBytes / Median(damagedTimes) / mib;
  std::printf("\nqmdb check, median of %d rounds\n", rounds);
  std::printf("  clean file of %d notes (%.1f MiB): %.0f MiB/s (the store's walk of it: %.0f MiB/s)\n",
              cleanCount, clean.size() / mib, cleanRate, walkRate);
  std::printf("  %.1f MiB of zeros between 20 notes: %.0f MiB/s (%.2fx the clean check, %.2fx the walk)\n",
              zeroBytes / mib, zeroRate, zeroRate / cleanRate, zeroRate / walkRate);
  fs::remove(cleanPath);
  fs::remove(damagedPath);
}

// One phase alone, so that strace can count what it costs: count adds, a
// walk over count records, or count adds into freed blocks. What comes
// before the phase ends with the line "ready".
int SyscallPhase(const fs::path& folder, const std::string& phase, int count) {
  QuillmateStore store(folder / "TextNotes.qmt");
  store.Reset();
  if (phase == "walk") {
    store.Add(0, count);
  } else if (phase == "re-add") {
    store.Add(0, 2 * count);
    store.DeleteEverySecond();
  } else if (phase != "add") {
    Fail("syscalls: phase add, walk or re-add");
  }
  std::printf("ready\n");
  std::fflush(stdout);
  if (phase == "walk")
    store.Walk();
  else
    store.Add(2 * count, count);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path folder = fs::temp_directory_path() / ("qm-store-bench-" + std::to_string(std::random_device()()));
  fs::create_directories(folder);
  ScopedMessageBoxScript boxes([](void*, const char* text, const char*, unsigned) {
    Fail(std::string("unexpected message box: ") + text);
    return kIdOk;
  });
  int status = 0;
  if (argc >= 4 && std::string(argv[1]) == "syscalls") {
    status = SyscallPhase(folder, argv[2], std::atoi(argv[3]));
  } else {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<int> counts;
    for (int i = 2; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {10000, 100000};
    std::printf("SQLite %s; %d rounds\n", sqlite3_libversion(), rounds);
    for (int count : counts) CompareStores(folder, count, rounds);
    const char* zeroMiB = std::getenv("QM_BENCH_ZERO_MIB");
    CompareDamageScan(folder, static_cast<std::uint32_t>((zeroMiB ? std::atof(zeroMiB) : 64.0) * 1024 * 1024),
                      rounds);
  }
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  return status;
}
