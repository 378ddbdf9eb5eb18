// Block copy against descriptors that only POSIX offers: a device that refuses every write, and
// a packet socket that shows the size of every write.
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "common/block_copy.h"
#include "platform/files.h"
#include "tests/support/test_support.h"

namespace {

TEST(BlockCopyPosix, DestinationRefusingFirstWriteReportsPositionZero) {
  scoped_temp_dir dir;
  write_file(dir / "source", random_bytes(5000, 1));
  const int source = file_open_for_reading((dir / "source").c_str());
  const int full = open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  const copy_result result = block_copy(source, full, 5000);
  EXPECT_EQ(result.status, copy_status::short_write);
  EXPECT_EQ(result.position, 0);
  EXPECT_EQ(errno, ENOSPC);
  close(full);
  file_close(source);
}

TEST(BlockCopyPosix, MovesAtMostOneBlockPerCall) {
  struct size_case {
    int32_t length;
    std::vector<ssize_t> writes;
  };
  const size_case cases[] = {
      {0, {}},
      {4096, {4096}},
      {4097, {4096, 1}},
  };
  for (const auto& c : cases) {
    scoped_temp_dir dir;
    write_file(dir / "source", random_bytes(9000, 2));
    const int source = file_open_for_reading((dir / "source").c_str());
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET, 0, ends), 0);
    const copy_result result = block_copy(source, ends[0], c.length);
    EXPECT_EQ(result.status, copy_status::done);
    close(ends[0]);
    std::vector<ssize_t> writes;
    char packet[8192];
    for (ssize_t got; (got = recv(ends[1], packet, sizeof packet, 0)) > 0;) writes.push_back(got);
    close(ends[1]);
    file_close(source);
    EXPECT_EQ(writes, c.writes) << c.length;
  }
}

}  // namespace
