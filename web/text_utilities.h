// Small text routines that the web access code and the download engine share. Texts are GBK
// bytes ending at their first zero byte; searches never match inside a double-byte character.
#pragma once
#include <string>
#include <string_view>

namespace web {

// A marker argument of TextBetween. A caller's text variable gets its quote tokens replaced in
// place; a constant is only read.
class TextMarker {
 public:
  TextMarker(std::string& variable) : variable_(&variable), text_(variable) {}
  TextMarker(const std::string& constant) : text_(constant) {}
  TextMarker(std::string_view constant) : text_(constant) {}
  TextMarker(const char* constant) : text_(constant) {}

  // The marker with every "#引号" turned into a double quote; a variable keeps that text.
  std::string resolve();

 private:
  std::string* variable_ = nullptr;
  std::string_view text_;
};

// The text between the first occurrence of left and the first occurrence of right behind it; ""
// when either is missing. In both markers the token "#引号" stands for a double quote, so marker
// constants need no escaped quotes.
std::string TextBetween(std::string_view text, TextMarker left, TextMarker right);

// The text behind the last occurrence of separator; "" when it does not occur.
std::string TextAfterLast(std::string_view text, std::string_view separator);

// Decodes text as the body of a single-quoted script string literal, then with the script
// function unescape ("%41", "%u7535"), so JSON escapes ("\u7535") come out as characters. CR LF
// pairs and apostrophes come back unchanged. "" where the literal would not be valid script (a
// line break, a trailing backslash, a bad "\x" escape). Nothing is ever evaluated.
std::string UnescapeText(std::string_view text);

// UTF-8 bytes to GBK; characters without a GBK form become '?'.
std::string Utf8ToGbk(std::string_view utf8);

// Big5 bytes to GBK in simplified characters. The text ends in front of its first character that
// GBK lacks.
std::string Big5ToSimplifiedGbk(std::string_view big5);

// True when a file (not a folder) exists at the Windows-style path.
bool FileExists(std::string_view path);

}  // namespace web
