#pragma once

namespace varnow {

// The package texts are fixed English texts, not string-table entries.
inline constexpr const char* kFileCouldNotBeOpened = "File could not be opened";
inline constexpr const char* kFileIsIncorrect = "File is incorrect";
inline constexpr const char* kFirmwareFileIsIncorrect = "File is incorrect.";
inline constexpr const char* kHeadSignatureError = "Error[Head signature]";
inline constexpr const char* kHeadCrcError = "Error[Head CRC]";
inline constexpr const char* kTailSignatureError = "Error[Tail signature]";
inline constexpr const char* kTailCrcError = "Error[Tail CRC]";

}  // namespace varnow
