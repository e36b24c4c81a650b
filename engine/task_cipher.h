// The text cipher of the resume file: the note and, on request, the download address are stored
// as hexadecimal digits of the bytes XOR a one-byte mask, followed by a nine-character tag that
// ties the value to its key. The tag guards against a value made with another key; it does not
// guard the content.
#pragma once
#include <string>
#include <string_view>

namespace engine {

// Mixed into every byte before it is written as hex.
inline constexpr unsigned char CipherMask = 0x5A;

// Characters 3 to 11 of the key's MD5 in upper case; "" when no digest can be computed.
std::string KeyTag(std::string_view key);

// Two upper-case hex digits per byte of text (each byte XOR CipherMask), then KeyTag(key).
std::string EncipherText(std::string_view text, std::string_view key);

// The text back, or "" when the cipher does not end in KeyTag(key) (exact case), when no tag can
// be computed, or when a character before the tag is no hexadecimal digit (the value was edited;
// its bytes would mean nothing). Digits may be in either case; an odd last digit is a byte alone.
// On the UI thread pending window events are served after every pair, so a long value does not
// freeze the windows.
std::string DecipherText(std::string_view cipher, std::string_view key);

// The keys, put together at run time so that neither appears whole in the program file.
std::string NoteKey();
std::string UrlKey();

// What the resume file's note says, in plain text.
inline constexpr std::string_view NoteText =
    "本文件记录一个尚未完成的下载，供断点续传使用，下载完成后会自动删除。";

// EncipherText(NoteText, NoteKey()): a loader accepts a file only when its note enciphers to this.
inline constexpr std::string_view NoteCipherText =
    "EBE4949EE6A4E69D98E688E1E2AC938A94EE97B0E993EF9E95988E82F9F6E3F3EC95"
    "EFB98AA2EEF190E38999F9F695988E8297B0E993E0A9E1BB8D8EECF593E4E9A7FBF9"
    "F53365473";  // the tag

}  // namespace engine
