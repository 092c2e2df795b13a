// The log goes to plain files only: device names, directories, pipes and names the
// system cannot take make the day's close write nothing and return.
#include "traffic/LogPath.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "support/MemorySettings.h"
#include "traffic/Clock.h"
#include "traffic/TransferTotals.h"

namespace {

namespace fs = std::filesystem;

TEST(LogPath, OnlyNamesOfPlainFilesAreUsable) {
  const struct { std::string path; bool usable; } cases[] = {
      {"transfer_log.txt", true}, {"C:\\logs\\day.txt", true}, {"\\\\server\\share\\log.txt", true},
      {"logs/day.txt", true}, {"console.txt", true}, {"nul1", true}, {"COM10", true}, {"a.con", true},
      {"c:day.txt", true}, {std::string(MaxLogPathLength, 'a'), true},
      {"", false}, {std::string(MaxLogPathLength + 1, 'a'), false}, {std::string(10000, 'a'), false},
      {"NUL", false}, {"con", false}, {"CON.txt", false}, {"C:\\x\\aux.log", false}, {"logs/Prn", false},
      {"nul ", false}, {"NUL.", false}, {"prn .txt", false}, {"COM1", false}, {"lpt9.log", false},
      {"COM0", false}, {"com\xB9", false}, {"LPT\xB3.txt", false}, {"CLOCK$", false}, {"conin$", false},
      {"conout$.x", false}, {"C:\\logs\\", false}, {"C:", false}, {"logs/", false}, {"..", false},
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

// The day's close with traffic to log: whatever the name, it returns, starts the totals
// again and stores the date; only a plain file gets the line.
TEST(LogPath, TheDayCloseWritesNothingWhereTheNameIsNoPlainFile) {
  const fs::path dir = fs::temp_directory_path() / ("tarvelo_logpath_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "a_directory");
  const std::string fifo = (dir / "a_pipe").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // A reader that is there already, so a wrongful open does not wait and a write shows.
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  const fs::path cwd = fs::current_path();
  fs::current_path(dir);
  const std::string names[] = {"", "a_directory", "a_directory/", "a_pipe", "NUL", "con.txt",
                               std::string(10000, 'x'), "missing/day.txt", "day.txt:stream", "good.txt"};
  for (const std::string& name : names) {
    TMemorySettings store;
    TDayClock clock;
    TTransferTotals totals{5000, 7000, 42, 739955, name, true};
    CloseDay(totals, store, clock);
    EXPECT_EQ(std::tuple(totals.UploadCounter, totals.DownloadCounter, totals.ElapsedCounter, totals.LastDate),
              std::tuple(0, 0, 0u, 739956u)) << name.substr(0, 40);
    EXPECT_EQ(store.RawInteger("lastdate", -1), 739956) << name.substr(0, 40);
  }
  char byte;
  EXPECT_EQ(read(reader, &byte, 1), 0) << "a line went into the pipe";
  close(reader);
  std::vector<std::string> left;
  for (const auto& e : fs::recursive_directory_iterator(dir)) left.push_back(e.path().lexically_relative(dir).string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"a_directory", "a_pipe", "good.txt"}));
  std::ifstream good(dir / "good.txt", std::ios::binary);
  std::string line;
  std::getline(good, line);
  EXPECT_EQ(line, "12/6/2026    UpLoad:     4.8KB   DownLoad:     6.8KB\r");
  fs::current_path(cwd);
  fs::remove_all(dir);
}

}  // namespace
