// Buffered writing of generated text and console text.
#ifndef ZEMUC_IO_OUTPUT_H_
#define ZEMUC_IO_OUTPUT_H_

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace zemuc {

// Where the bytes of an Output end up.
class Sink {
 public:
  virtual ~Sink() = default;
  // False when the bytes could not be written (a full disk).
  virtual bool write(std::string_view bytes) = 0;
  // Ends the writing; false when that failed. Called at most once.
  virtual bool close() { return true; }
};

// Appends to a string: the in-memory output of tests and fuzzing.
class StringSink : public Sink {
 public:
  explicit StringSink(std::string& text) : text_(text) {}
  bool write(std::string_view bytes) override;

 private:
  std::string& text_;
};

// Writes to a stream: a file the sink owns, or standard output.
class StreamSink : public Sink {
 public:
  // Takes over `file` and closes it; the caller must not.
  static std::unique_ptr<StreamSink> owning(std::FILE* file);
  // Leaves `file` open (standard output).
  static std::unique_ptr<StreamSink> borrowing(std::FILE* file);
  ~StreamSink() override;
  bool write(std::string_view bytes) override;
  bool close() override;

 private:
  StreamSink(std::FILE* file, bool owned) : file_(file), owned_(owned) {}
  std::FILE* file_;
  bool owned_;
};

// Collects small writes in a buffer and hands them to the sink in large
// pieces. A failed write is remembered and reported by flush(); the bytes
// after it are dropped.
class Output {
 public:
  explicit Output(Sink& sink);
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  ~Output();  // flushes, ignoring failure

  Output& operator<<(std::string_view text) {
    const std::size_t room = kBufferSize - used_;
    if (text.size() <= 16 && room >= 16) {
      copy_short(buffer_.get() + used_, text.data(), text.size());
      used_ += text.size();
    } else if (text.size() <= room) {
      text.copy(buffer_.get() + used_, text.size());
      used_ += text.size();
    } else {
      write_through(text);
    }
    return *this;
  }
  Output& operator<<(char c) {
    if (used_ == kBufferSize) drain();
    buffer_[used_++] = c;
    return *this;
  }
  // A number in decimal. Every C name carries one, so the digits go
  // straight into the buffer, two at a time, inline.
  Output& number(std::size_t n) {
    if (kBufferSize - used_ < kMaxDigits) drain();
    char* const start = buffer_.get() + used_;
    std::size_t digits = 1;
    for (std::size_t rest = n; rest >= 10; rest /= 10) ++digits;
    char* p = start + digits;
    for (; n >= 100; n /= 100) {
      p -= 2;
      std::memcpy(p, kDigitPairs + 2 * (n % 100), 2);
    }
    if (n >= 10) {
      std::memcpy(p - 2, kDigitPairs + 2 * n, 2);
    } else {
      p[-1] = static_cast<char>('0' + n);
    }
    used_ += digits;
    return *this;
  }

  // Hands every buffered byte to the sink; false if any write has failed.
  bool flush();
  // How many bytes have been written so far, buffered ones included.
  std::size_t position() const { return drained_ + used_; }

 private:
  static constexpr std::size_t kBufferSize = 64 * 1024;
  static constexpr std::size_t kMaxDigits = 20;
  static constexpr char kDigitPairs[] =
      "0001020304050607080910111213141516171819202122232425262728293031323334"
      "3536373839404142434445464748495051525354555657585960616263646566676869"
      "707172737475767778798081828384858687888990919293949596979899";
  // Copies n <= 16 bytes with at most two loads and two stores that may
  // overlap, reading nothing outside [p, p + n): most writes are a name, a
  // delimiter or a short piece of a line, and a call to memcpy would cost
  // more than the copy.
  static void copy_short(char* to, const char* p, std::size_t n) {
    if (n >= 8) {
      copy_fixed<8>(to, p);
      copy_fixed<8>(to + n - 8, p + n - 8);
    } else if (n >= 4) {
      copy_fixed<4>(to, p);
      copy_fixed<4>(to + n - 4, p + n - 4);
    } else if (n > 0) {
      to[0] = p[0];
      to[n / 2] = p[n / 2];
      to[n - 1] = p[n - 1];
    }
  }
  template <std::size_t kSize>
  static void copy_fixed(char* to, const char* p) {
    char block[kSize];
    std::memcpy(block, p, kSize);
    std::memcpy(to, block, kSize);
  }
  void drain();
  void write_through(std::string_view text);

  Sink& sink_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  std::size_t drained_ =
      0;  // bytes handed to the sink, or dropped after it failed
  bool failed_ = false;
};

}  // namespace zemuc

#endif  // ZEMUC_IO_OUTPUT_H_
