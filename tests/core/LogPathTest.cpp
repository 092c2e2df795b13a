// The log goes to plain files only: device names, directories, pipes and names the
// system cannot take lose the day's line, never the counters' reset.
#include "traffic/LogPath.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

#include "support/MemorySettings.h"
#include "traffic/Clock.h"
#include "traffic/TransferTotals.h"

namespace {

namespace fs = std::filesystem;

TEST(LogPath, OnlyNamesOfPlainFilesAreUsable) {
  const struct { std::string path; bool usable; } cases[] = {
      {"transfer_log.txt", true}, {"\\\\server\\share\\log.txt", true}, {"console.txt", true}, {"nul1", true},
      {"COM10", true}, {"a.con", true}, {"c:day.txt", true}, {std::string(MaxLogPathLength, 'a'), true},
      {"C:\\My logs\\day.txt", true}, {"C:\\logs\\day.txt:x", false},
      {"", false}, {std::string(MaxLogPathLength + 1, 'a'), false}, {"con", false}, {"CON.txt", false},
      {"C:\\x\\aux.log", false}, {"logs/Prn", false}, {"nul ", false}, {"NUL.", false}, {"prn .txt", false},
      {"lpt9.log", false}, {"COM0", false}, {"com\xB9", false}, {"COM\xB2.log", false}, {"LPT\xB3.txt", false},
      {"CLOCK$", false}, {"conin$", false}, {"conout$.x", false}, {"C:\\logs\\", false}, {"C:", false}, {"..", false},
      {"\\\\.\\pipe\\x", false}, {"\\\\?\\C:\\x.txt", false}, {"//./nul", false}, {"\\\\.", false},
      {"day.txt:hidden", false}, {"1:\\x", false}, {"a?b", false}, {"a*b", false}, {"a|b", false},
      {"a<b", false}, {"a>b", false}, {"a\"b", false}, {"a\tb", false}, {std::string("a\0b", 3), false},
  };
  for (const auto& c : cases) EXPECT_EQ(UsableLogPath(c.path), c.usable) << "\"" << c.path.substr(0, 40) << "\"";
}

class TDayClock : public TClock {
public:
  uint32_t Today() override { return 739956; }
  std::string FormatShortDate(uint32_t) override { return "12/6/2026"; }
};

TEST(LogPath, TheDayCloseWritesOnlyToAPlainFileAndAlwaysStartsAgain) {
  const fs::path dir = fs::temp_directory_path() / ("tarvelo_logpath_" + std::to_string(getpid())), cwd = fs::current_path();
  fs::remove_all(dir);
  fs::create_directories(dir / "a_directory");
  const std::string fifo = (dir / "a_pipe").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // a reader already there, so a wrongful open does not wait and a write shows
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  fs::current_path(dir);
  for (const std::string name : {"", "a_directory", "a_directory/", "a_pipe", "NUL", "con.txt", "missing/day.txt",
                                 "day.txt:stream", "good.txt"}) {
    TMemorySettings store;
    TDayClock clock;
    TTransferTotals totals{5000, 7000, 42, 739955, name, true};
    CloseDay(totals, store, clock);
    EXPECT_EQ(std::tuple(totals.UploadCounter, totals.DownloadCounter, totals.ElapsedCounter, totals.LastDate,
                         store.RawInteger("lastdate", -1)), std::tuple(0, 0, 0u, 739956u, 739956)) << name;
  }
  char byte;
  EXPECT_EQ(read(reader, &byte, 1), 0) << "a line went into the pipe";
  close(reader);
  std::vector<std::string> left;
  for (const auto& e : fs::recursive_directory_iterator(dir)) left.push_back(e.path().lexically_relative(dir).string());
  std::sort(left.begin(), left.end());
  std::ifstream good(dir / "good.txt", std::ios::binary);
  EXPECT_EQ(std::tuple(left, std::string(std::istreambuf_iterator<char>(good), {})),
            std::tuple(std::vector<std::string>{"a_directory", "a_pipe", "good.txt"},
                       "12/6/2026    UpLoad:     4.8KB   DownLoad:     6.8KB\r\n"));
  fs::current_path(cwd);
  fs::remove_all(dir);
}

}  // namespace
