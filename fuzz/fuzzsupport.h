#pragma once

// Shared by the fuzz targets: the input as Qt bytes, and checks whose failure is a finding like a crash.

#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace ostrel::fuzz {

// The fuzzer's own buffer, not a copy: a read one byte past its end is caught by the address sanitizer.
inline QByteArray inputbytes(const std::uint8_t* data, std::size_t size) {
  return QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

[[noreturn]] inline void checkfailed(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, what);
  std::abort();
}

}  // namespace ostrel::fuzz

// An invariant of the reader: when it does not hold, the fuzzer keeps the input as a finding.
#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : ::ostrel::fuzz::checkfailed(#condition, __FILE__, __LINE__))
