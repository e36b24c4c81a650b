#include "platform/codepage/chinese_variants.h"

#include <opencc/opencc.h>

#include <mutex>

#include "platform/codepage/codepage.h"

namespace platform::codepage {
namespace {

// Loading the tables takes a while, so one converter serves the whole process; a lock keeps
// callers from sharing it at the same moment.
struct Converter {
  std::mutex lock;
  opencc_t handle = opencc_open(OPENCC_DEFAULT_CONFIG_TRAD_TO_SIMP);
  bool loaded() const { return handle != reinterpret_cast<opencc_t>(-1); }
};

Converter& converter() {
  static Converter instance;
  return instance;
}

}  // namespace

std::string traditional_to_simplified(std::string_view gbk) {
  Converter& t2s = converter();
  if (!t2s.loaded()) return std::string(gbk);
  const std::string utf8 = gbk_to_utf8(gbk);
  std::lock_guard<std::mutex> guard(t2s.lock);
  char* simplified = opencc_convert_utf8(t2s.handle, utf8.data(), utf8.size());
  if (!simplified) return std::string(gbk);
  std::string result = utf8_to_gbk(simplified);
  opencc_convert_utf8_free(simplified);
  return result;
}

}  // namespace platform::codepage
