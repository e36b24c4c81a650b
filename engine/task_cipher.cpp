#include "engine/task_cipher.h"

#include <optional>

#include "platform/crypto/md5.h"
#include "platform/ui/runtime.h"
#include "web/gbk_text.h"

namespace engine {
namespace {

constexpr std::size_t tag_length = 9;

std::optional<unsigned char> hex_digit_value(char ch) {
  if (ch >= '0' && ch <= '9') return static_cast<unsigned char>(ch - '0');
  if (ch >= 'A' && ch <= 'F') return static_cast<unsigned char>(ch - 'A' + 10);
  if (ch >= 'a' && ch <= 'f') return static_cast<unsigned char>(ch - 'a' + 10);
  return std::nullopt;
}

// Each key is a fixed text, the decimal text of a number and a second fixed text.
std::string joined_key(std::string_view head, int number, std::string_view tail) {
  return std::string(head) + std::to_string(number) + std::string(tail);
}

}  // namespace

std::string KeyTag(std::string_view key) {
  std::string digest = platform::crypto::md5_hex(web::gbk::until_zero(key));
  if (digest.size() < 2 + tag_length) return {};
  std::string tag = digest.substr(2, tag_length);
  for (char& ch : tag) {
    if (ch >= 'a' && ch <= 'f') ch = static_cast<char>(ch - 'a' + 'A');
  }
  return tag;
}

std::string EncipherText(std::string_view text, std::string_view key) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string cipher;
  for (unsigned char byte : web::gbk::until_zero(text)) {
    byte ^= CipherMask;
    cipher += digits[byte >> 4];
    cipher += digits[byte & 0x0F];
  }
  return cipher + KeyTag(key);
}

std::string DecipherText(std::string_view cipher, std::string_view key) {
  cipher = web::gbk::until_zero(cipher);
  const std::string tag = KeyTag(key);
  if (tag.empty() || cipher.size() < tag.size() ||
      cipher.substr(cipher.size() - tag.size()) != tag) {
    return {};
  }
  const std::string_view digits = cipher.substr(0, cipher.size() - tag.size());
  const bool serve_events = platform::ui::on_ui_thread();
  std::string text;
  for (std::size_t pos = 0; pos < digits.size(); pos += 2) {
    unsigned value = 0;
    for (char ch : digits.substr(pos, 2)) {
      auto digit = hex_digit_value(ch);
      if (!digit) return {};
      value = value * 16 + *digit;
    }
    text += static_cast<char>(value ^ CipherMask);
    if (serve_events) platform::ui::process_pending_events();
  }
  return text;
}

std::string NoteKey() { return joined_key("断点续传配置说明之钥", 1573, "请勿改动此处的文字"); }

std::string UrlKey() { return joined_key("下载地址加密钥匙第一部分", 8642, "尾部四字"); }

}  // namespace engine
