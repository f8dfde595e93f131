#include "io/output.h"

namespace zemuc {

bool StringSink::write(std::string_view bytes) {
  text_.append(bytes);
  return true;
}

std::unique_ptr<StreamSink> StreamSink::owning(std::FILE* file) {
  return std::unique_ptr<StreamSink>(new StreamSink(file, true));
}

std::unique_ptr<StreamSink> StreamSink::borrowing(std::FILE* file) {
  return std::unique_ptr<StreamSink>(new StreamSink(file, false));
}

StreamSink::~StreamSink() {
  if (owned_ && file_ != nullptr) std::fclose(file_);
}

bool StreamSink::write(std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
}

bool StreamSink::close() {
  // A full disk often shows only when the stream's own buffer is flushed.
  bool ok = std::fflush(file_) == 0 && !std::ferror(file_);
  if (owned_) {
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
  }
  return ok;
}

Output::Output(Sink& sink)
    : sink_(sink),
      buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

Output::~Output() { flush(); }

bool Output::flush() {
  drain();
  return !failed_;
}

void Output::drain() {
  if (used_ > 0 && !failed_) failed_ = !sink_.write({buffer_.get(), used_});
  drained_ += used_;
  used_ = 0;
}

void Output::write_through(std::string_view text) {
  drain();
  if (text.size() < kBufferSize) {
    text.copy(buffer_.get(), text.size());
    used_ = text.size();
  } else {
    if (!failed_) failed_ = !sink_.write(text);
    drained_ += text.size();
  }
}

}  // namespace zemuc
