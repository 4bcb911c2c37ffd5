// The whole-check cases over the two parsers that need no window: a
// string of the caller and a fixed-size character buffer.
#include "spelling/core/buffer-parser.h"
#include "spelling/core/string-parser.h"
#include "spelling/tests/check-loop-cases.h"

#include <cstring>
#include <vector>

namespace {

class StringText : public check_loop::CheckedText {
public:
  void SetText(const std::string &text) override { text_ = text; }
  std::string Text() override { return text_; }
  std::unique_ptr<spelling::TParser> CreateParser() override {
    return std::make_unique<spelling::TStringParser>(text_);
  }

private:
  std::string text_;
};

class BufferText : public check_loop::CheckedText {
public:
  void SetText(const std::string &text) override {
    ASSERT_LT(text.size(), buffer_.size());
    std::memset(buffer_.data(), 0, buffer_.size());
    std::memcpy(buffer_.data(), text.data(), text.size());
  }
  std::string Text() override { return std::string(buffer_.data()); }
  std::unique_ptr<spelling::TParser> CreateParser() override {
    return std::make_unique<spelling::TBufferParser>(buffer_.data(), buffer_.size());
  }

private:
  std::vector<char> buffer_ = std::vector<char>(256, '\0');
};

} // namespace

INSTANTIATE_TEST_SUITE_P(
    Flat, CheckLoopCases,
    ::testing::Values(
        check_loop::CheckedTextMaker{"String", [] { return std::make_unique<StringText>(); }},
        check_loop::CheckedTextMaker{"Buffer", [] { return std::make_unique<BufferText>(); }}),
    check_loop::MakerName);
