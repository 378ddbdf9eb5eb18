#include "common/archive_format.h"

#include "platform/files.h"

bool read_i32_field(int descriptor, int32_t* value) {
  unsigned char bytes[4];
  if (!read_exact(descriptor, bytes, sizeof bytes)) return false;
  const uint32_t bits = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                        static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
  *value = static_cast<int32_t>(bits);
  return true;
}

bool write_i32_field(int descriptor, int32_t value) {
  const uint32_t bits = static_cast<uint32_t>(value);
  const unsigned char bytes[4] = {
      static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
      static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24)};
  return write_exact(descriptor, bytes, sizeof bytes);
}

bool read_exact(int descriptor, void* buffer, int32_t size) {
  return file_read(descriptor, buffer, size) == size;
}

bool write_exact(int descriptor, const void* buffer, int32_t size) {
  return file_write(descriptor, buffer, size) == size;
}
