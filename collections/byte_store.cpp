#include "collections/byte_store.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kv {

ByteStore ByteStore::OnFile(int fd, std::uint64_t size) {
  ByteStore store;
  store.fd_ = fd;
  store.size_ = size;
  return store;
}

ByteStore ByteStore::OnBuffer(std::vector<std::uint8_t>& bytes) {
  ByteStore store;
  store.buffer_ = &bytes;
  store.size_ = bytes.size();
  return store;
}

ByteStore ByteStore::OnBytes(std::span<const std::uint8_t> bytes) {
  ByteStore store;
  store.memory_ = bytes.data();
  store.size_ = bytes.size();
  return store;
}

bool ByteStore::Read(std::uint64_t offset, void* destination, std::size_t count) const {
  readError_ = 0;
  if (offset > size_ || count > size_ - offset) return false;
  if (count == 0) return true;
  if (buffer_) {
    std::memcpy(destination, buffer_->data() + offset, count);
    return true;
  }
  if (memory_) {
    std::memcpy(destination, memory_ + offset, count);
    return true;
  }
  auto* out = static_cast<char*>(destination);
  while (count > 0) {
    const ssize_t got = ::pread(fd_, out, count, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) readError_ = errno;
    if (got <= 0) return false;  // 0: the file became shorter than its size
    out += got;
    offset += static_cast<std::uint64_t>(got);
    count -= static_cast<std::size_t>(got);
  }
  return true;
}

bool ByteStore::Write(std::uint64_t offset, const void* source, std::size_t count) {
  if (memory_) return false;
  if (count == 0) return true;
  if (buffer_) {
    if (offset + count > buffer_->size()) buffer_->resize(offset + count);
    std::memcpy(buffer_->data() + offset, source, count);
  } else {
    const auto* in = static_cast<const char*>(source);
    std::uint64_t at = offset;
    std::size_t left = count;
    while (left > 0) {
      const ssize_t put = ::pwrite(fd_, in, left, static_cast<off_t>(at));
      if (put < 0 && errno == EINTR) continue;
      if (put <= 0) return false;
      in += put;
      at += static_cast<std::uint64_t>(put);
      left -= static_cast<std::size_t>(put);
    }
  }
  if (offset + count > size_) size_ = offset + count;
  return true;
}

bool ByteStore::Truncate(std::uint64_t size) {
  if (memory_ || size > size_) return false;
  if (buffer_) {
    buffer_->resize(size);
  } else if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) {
    return false;
  }
  size_ = size;
  return true;
}

}  // namespace kv
